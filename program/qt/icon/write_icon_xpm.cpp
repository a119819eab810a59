// Writes the program's window icon as an XPM file, for the desktop's icon theme.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <string>

#include "resources/tree_pictures.h"

namespace {

std::string Hex(const resources::Rgb& colour) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", colour.red, colour.green, colour.blue);
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 || (std::string(argv[1]) != "16" && std::string(argv[1]) != "32")) {
    std::cerr << "usage: tarvex-icon-xpm 16|32 FILE.xpm\n";
    return 2;
  }
  const resources::PixelArt& art =
      std::string(argv[1]) == "16" ? resources::WindowIcon16() : resources::WindowIcon32();
  std::map<char, std::string> colours;
  for (const auto row : art.rows) {
    for (const char pixel : row) {
      colours[pixel] = pixel == resources::kMaskPixel ? "None" : Hex(resources::PaletteColour(pixel));
    }
  }
  std::ofstream out(argv[2], std::ios::binary);
  out << "/* XPM */\nstatic char *tarvex[] = {\n";
  out << '"' << art.Size() << ' ' << art.Size() << ' ' << colours.size() << " 1\",\n";
  for (const auto& [pixel, colour] : colours) out << '"' << pixel << " c " << colour << "\",\n";
  for (std::size_t y = 0; y < art.rows.size(); ++y) {
    out << '"' << art.rows[y] << '"' << (y + 1 < art.rows.size() ? ",\n" : "\n");
  }
  out << "};\n";
  out.close();
  if (!out) {
    std::cerr << "tarvex-icon-xpm: cannot write " << argv[2] << '\n';
    return 1;
  }
  return 0;
}
