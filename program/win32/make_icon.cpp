// Build-time tool, run on the build machine: writes tarvex.ico from the shared window icon artwork.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "base/little_endian.h"
#include "resources/tree_pictures.h"

namespace {

// One icon image: a 32-bit bottom-up bitmap, its alpha and its AND mask both transparent where the
// picture has the mask colour.
std::string Image(const resources::PixelArt& art) {
  const int size = art.Size();
  std::string out;
  base::Put32(out, 40);
  base::Put32(out, static_cast<uint32_t>(size));
  base::Put32(out, static_cast<uint32_t>(size * 2));
  base::Put16(out, 1);
  base::Put16(out, 32);
  for (int i = 0; i < 6; ++i) base::Put32(out, 0);
  const auto transparent = [&](int x, int y) {
    const char pixel = x < static_cast<int>(art.rows[y].size()) ? art.rows[y][x] : resources::kMaskPixel;
    return resources::PaletteColour(pixel) == resources::kMaskColour;
  };
  for (int y = size - 1; y >= 0; --y) {
    for (int x = 0; x < size; ++x) {
      const char pixel = x < static_cast<int>(art.rows[y].size()) ? art.rows[y][x] : resources::kMaskPixel;
      const resources::Rgb colour = resources::PaletteColour(pixel);
      const bool clear = transparent(x, y);
      out += static_cast<char>(clear ? 0 : colour.blue);
      out += static_cast<char>(clear ? 0 : colour.green);
      out += static_cast<char>(clear ? 0 : colour.red);
      out += static_cast<char>(clear ? 0 : 0xFF);
    }
  }
  const int stride = (size + 31) / 32 * 4;
  for (int y = size - 1; y >= 0; --y) {
    std::vector<uint8_t> row(static_cast<std::size_t>(stride), 0);
    for (int x = 0; x < size; ++x) {
      if (transparent(x, y)) row[static_cast<std::size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
    }
    out.append(row.begin(), row.end());
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_icon OUTPUT.ico\n");
    return 2;
  }
  const resources::PixelArt* pictures[] = {&resources::WindowIcon16(), &resources::WindowIcon32()};
  std::string header;
  std::string images;
  base::Put16(header, 0);
  base::Put16(header, 1);
  base::Put16(header, 2);
  const uint32_t first = 6 + 16 * 2;
  for (const resources::PixelArt* art : pictures) {
    const std::string image = Image(*art);
    header += static_cast<char>(art->Size());
    header += static_cast<char>(art->Size());
    header += '\0';
    header += '\0';
    base::Put16(header, 1);
    base::Put16(header, 32);
    base::Put32(header, static_cast<uint32_t>(image.size()));
    base::Put32(header, first + static_cast<uint32_t>(images.size()));
    images += image;
  }
  std::FILE* file = std::fopen(argv[1], "wb");
  if (file == nullptr) return 1;
  const std::string all = header + images;
  const bool written = std::fwrite(all.data(), 1, all.size(), file) == all.size();
  return std::fclose(file) == 0 && written ? 0 : 1;
}
