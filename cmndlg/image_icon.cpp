#include "cmndlg/image_icon.h"

#include "base/little_endian.h"

namespace cmndlg {

namespace {

// A small dialog window: title bar, a folder beside a file-name field, and a button.
constexpr std::array<std::string_view, kImageIconPixels> kRows{{
    "................................", "................................",
    "................................", "..0000000000000000000000000000..",
    "..0444444444444444444444444440..", "..04FFFFFFFFFFFFFFFFFF4F0F0F40..",
    "..0444444444444444444444444440..", "..0777777777777777777777777770..",
    "..07777777777777777777777777708.", "..07777777777777777777777777708.",
    "..0777BBBB7777777777777777777708", "..077BBBBBB777777777777777777708",
    "..07B333333333B77FFFFFFFFFFF7708", "..07BBBBBBBBBBB77F0000000008F708",
    "..07BBBBBBBBBBB77F8888888888F708", "..07BBBBBBBBBBB77FFFFFFFFFFFF708",
    "..07BBBBBBBBBBB77777777777777708", "..07BBBBBBBBBBB77FFFFFFFFFFFF708",
    "..07B333333333B77F0000000008F708", "..07777777777777778888888888F708",
    "..0777777777777777FFFFFFFFFFF708", "..07777777777777777777777777708.",
    "..0777777777777777FFFFFFFFF07708", "..0777777777777777F777777780770.",
    "..0777777777777777F7C7CC7780770.", "..0777777777777777F777777780770.",
    "..0777777777777777888888888077..", "..07777777777777770000000000770.",
    "..0777777777777777777777777770..", "..0000000000000000000000000000..",
    "...88888888888888888888888888...", "................................",
}};

constexpr std::array<uint32_t, 16> kPalette{{
    0x000000,
    0x800000,
    0x008000,
    0x808000,
    0x000080,
    0x800080,
    0x008080,
    0xC0C0C0,
    0x808080,
    0xFF0000,
    0x00FF00,
    0xFFFF00,
    0x0000FF,
    0xFF00FF,
    0x00FFFF,
    0xFFFFFF,
}};

int PaletteIndex(char pixel) {
  if (pixel >= '0' && pixel <= '9') return pixel - '0';
  if (pixel >= 'A' && pixel <= 'F') return pixel - 'A' + 10;
  return 0;  // transparent: black under a set mask bit
}

}  // namespace

const std::array<std::string_view, kImageIconPixels>& ImageIconRows() {
  return kRows;
}

std::string ImageIconFile() {
  constexpr uint32_t kHeaderBytes = 6 + 16;
  constexpr uint32_t kInfoBytes = 40;
  constexpr uint32_t kColorBytes = 16 * 4;
  constexpr uint32_t kXorBytes = kImageIconPixels * kImageIconPixels / 2;
  constexpr uint32_t kAndBytes = kImageIconPixels * 4;  // 32 bits a row, already 4-byte aligned
  std::string out;
  // Icon directory with its one entry.
  base::AppendLittleEndian(out, 0, 2);
  base::AppendLittleEndian(out, 1, 2);  // icon
  base::AppendLittleEndian(out, 1, 2);  // one image
  out += static_cast<char>(kImageIconPixels);
  out += static_cast<char>(kImageIconPixels);
  out += static_cast<char>(16);  // colours
  out += '\0';
  base::AppendLittleEndian(out, 1, 2);  // planes
  base::AppendLittleEndian(out, 4, 2);  // bits per pixel
  base::AppendLittleEndian(out, kInfoBytes + kColorBytes + kXorBytes + kAndBytes, 4);
  base::AppendLittleEndian(out, kHeaderBytes, 4);
  // BITMAPINFOHEADER; the height counts the colour image and the mask.
  base::AppendLittleEndian(out, kInfoBytes, 4);
  base::AppendLittleEndian(out, kImageIconPixels, 4);
  base::AppendLittleEndian(out, 2 * kImageIconPixels, 4);
  base::AppendLittleEndian(out, 1, 2);
  base::AppendLittleEndian(out, 4, 2);
  base::AppendLittleEndian(out, 0, 4);  // uncompressed
  base::AppendLittleEndian(out, kXorBytes + kAndBytes, 4);
  for (int i = 0; i < 4; ++i) base::AppendLittleEndian(out, 0, 4);
  for (uint32_t rgb : kPalette) base::AppendLittleEndian(out, rgb, 4);  // stored B, G, R, 0
  // Rows bottom-up: first the 4-bit colour image, then the 1-bit mask (set = transparent).
  for (int row = kImageIconPixels - 1; row >= 0; --row) {
    for (int x = 0; x < kImageIconPixels; x += 2) {
      out += static_cast<char>((PaletteIndex(kRows[row][x]) << 4) | PaletteIndex(kRows[row][x + 1]));
    }
  }
  for (int row = kImageIconPixels - 1; row >= 0; --row) {
    for (int x = 0; x < kImageIconPixels; x += 8) {
      unsigned bits = 0;
      for (int bit = 0; bit < 8; ++bit) bits |= (kRows[row][x + bit] == '.' ? 0x80u >> bit : 0u);
      out += static_cast<char>(bits);
    }
  }
  return out;
}

}  // namespace cmndlg
