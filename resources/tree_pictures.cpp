#include "resources/tree_pictures.h"

namespace resources {

namespace {

// Palette: . mask, k black, w white, l light grey, g dark grey, b navy, B blue, c cyan, y yellow,
// o ochre, r dark red, R red, n dark green, G green, p purple, t tan.
struct PaletteEntry {
  char pixel;
  Rgb colour;
};
constexpr std::array<PaletteEntry, 16> kPalette{{
    {'.', kMaskColour},
    {'k', {0, 0, 0}},
    {'w', {255, 255, 255}},
    {'l', {224, 224, 224}},
    {'g', {128, 128, 128}},
    {'b', {0, 0, 128}},
    {'B', {48, 96, 224}},
    {'c', {0, 176, 208}},
    {'y', {255, 224, 96}},
    {'o', {200, 152, 32}},
    {'r', {160, 0, 0}},
    {'R', {240, 64, 64}},
    {'n', {0, 128, 0}},
    {'G', {80, 200, 80}},
    {'p', {128, 32, 144}},
    {'t', {216, 176, 120}},
}};

using Rows16 = std::array<std::string_view, 16>;
using Rows32 = std::array<std::string_view, 32>;

// One row of pixels a line.
// clang-format off

constexpr Rows16 kStandardExe{
    "................",
    "kkkkkkkkkkkkkkk.",
    "kBBBBBBBBBBBBBkg",
    "kBwBBBBBBBBBBBkg",
    "kkkkkkkkkkkkkkkg",
    "kwwwwwwwwwwwwwkg",
    "kwllllllllllwwkg",
    "kwwwwwwwwwwwwwkg",
    "kwllllllwwwwwwkg",
    "kwwwwwwwwwwwwwkg",
    "kwllllllllwwwwkg",
    "kwwwwwwwwwwwwwkg",
    "kwwwwwwwwwwwwwkg",
    "kkkkkkkkkkkkkkkg",
    ".ggggggggggggggg",
    "................",
};

constexpr Rows16 kActiveXExe{
    "................",
    "kkkkkkkkkkkkkkk.",
    "kBBBBBBBBBBBBBkg",
    "kBwBBBBBBBBBBBkg",
    "kkkkkkkkkkkkkkkg",
    "kwwwwwwwwwwwwwkg",
    "kwllllllllllwwkg",
    "kwwwwwwwkkkkwwkg",
    "kwlllllkRRRRkwkg",
    "kwwwwwkRRyyRRkkg",
    "kwllllkRyyyyRkkg",
    "kwwwwwkRyyyyRkkg",
    "kwwwwwkRRyyRRkkg",
    "kkkkkkkkRRRRkkkg",
    ".gggggggkkkkgggg",
    "................",
};

constexpr Rows16 kActiveXDll{
    "................",
    "................",
    "..kkkkkkkkkkkk..",
    "..kppppppppppkk.",
    "..kpwwwwwwwwpkk.",
    "..kkkkkkkkkkkkk.",
    ".kkkkkkkkkkkkk..",
    ".kBBBBBBBBBBBkk.",
    ".kBwwwwwwwwwBkk.",
    ".kkkkkkkkkkkkk..",
    "..kkkkkkkkkkkkk.",
    "..knnnnnnnnnnkk.",
    "..knwwwwwwwwnkk.",
    "..kkkkkkkkkkkkk.",
    "................",
    "................",
};

constexpr Rows16 kActiveXControl{
    "................",
    ".kkkkkkkkkkkkkk.",
    ".kwwwwwwwwwwwgk.",
    ".kwllllllllllgk.",
    ".kwllRRllkkkkgk.",
    ".kwlRRRRlkBBkgk.",
    ".kwlRRRRlkBBkgk.",
    ".kwllRRllkkkkgk.",
    ".kwllllllllllgk.",
    ".kwlllnlllyylgk.",
    ".kwllnGnlyyyygk.",
    ".kwlnGGGnlyylgk.",
    ".kwnnnnnnnllgkk.",
    ".kggggggggggggk.",
    ".kkkkkkkkkkkkkk.",
    "................",
};

constexpr Rows16 kFolderClosed{
    "................",
    "................",
    "..kkkk..........",
    ".kyyyyk.........",
    "kyyyyyykkkkkkk..",
    "kywwwwwwwwwwwyk.",
    "kywyyyyyyyyyyok.",
    "kywyyyyyyyyyyok.",
    "kywyyyyyyyyyyok.",
    "kywyyyyyyyyyyok.",
    "kywyyyyyyyyyyok.",
    "kyoooooooooooook",
    "kkkkkkkkkkkkkkkk",
    "................",
    "................",
    "................",
};

constexpr Rows16 kFolderOpen{
    "................",
    "................",
    "..kkkk..........",
    ".kyyyyk.........",
    "kyyyyyykkkkkk...",
    "kyowwwwwwwwwyk..",
    "kyokkkkkkkkkkkkk",
    "kyokyyyyyyyyyyyk",
    "kyokyyyyyyyyyyk.",
    "kokyyyyyyyyyyyk.",
    "kokyyyyyyyyyyk..",
    "kkyyyyyyyyyyyk..",
    "kkoooooooooook..",
    "kkkkkkkkkkkkk...",
    "................",
    "................",
};

constexpr Rows16 kForm{
    "................",
    "kkkkkkkkkkkkkkk.",
    "kbbbbbbbbbbbbbk.",
    "kbbbbbbbbblklkk.",
    "kkkkkkkkkkkkkkk.",
    "klllllllllllllk.",
    "klkkkkkkkklllgk.",
    "klkwwwwwwwklllk.",
    "klkkkkkkkklllgk.",
    "klllllllllllllk.",
    "klllllwwwwwwglk.",
    "klllllwllllggk..",
    "klllllgggggglk..",
    "klllllllllllllk.",
    "kkkkkkkkkkkkkkk.",
    "................",
};

constexpr Rows16 kMdiForm{
    "kkkkkkkkkkkkkkkk",
    "kbbbbbbbbbbbbbbk",
    "kbbbbbbbbbbblklk",
    "kkkkkkkkkkkkkkkk",
    "kggggggggggggggk",
    "kgkkkkkkkkgggggk",
    "kgkBBBBBBkgggggk",
    "kgkkkkkkkkgggggk",
    "kgkwwwkkkkkkkkgk",
    "kgkwwwkBBBBBBkgk",
    "kgkkkkkkkkkkkkgk",
    "kgggggkwwwwwwkgk",
    "kgggggkwwwwwwkgk",
    "kgggggkkkkkkkkgk",
    "kggggggggggggggk",
    "kkkkkkkkkkkkkkkk",
};

constexpr Rows16 kModule{
    "................",
    "..kkkkkkkkk.....",
    "..kwwwwwwwkk....",
    "..kwwwwwwwkwk...",
    "..kwBBBBwwkkkk..",
    "..kwwwwwwwwwwk..",
    "..kwBBBBBBBwwk..",
    "..kwwwwwwwwwwk..",
    "..kwwBBBBBBwwk..",
    "..kwwwwwwwwwwk..",
    "..kwwBBBBBwwwk..",
    "..kwwwwwwwwwwk..",
    "..kwBBBBBBBBwk..",
    "..kwwwwwwwwwwk..",
    "..kkkkkkkkkkkk..",
    "................",
};

constexpr Rows16 kClassModule{
    "................",
    "..kkkkkkkkk.....",
    "..kwwwwwwwkk....",
    "..kwwwwwwwkwk...",
    "..kwkkkkwwkkkk..",
    "..kwkRRkwwwwwk..",
    "..kwkkkkwwwwwk..",
    "..kwwkwwwwwwwk..",
    "..kwwkkkkkkwwk..",
    "..kwwkwwwwkwwk..",
    "..kwkkkkkkkkwk..",
    "..kwkGGkkBBkwk..",
    "..kwkkkkkkkkwk..",
    "..kwwwwwwwwwwk..",
    "..kkkkkkkkkkkk..",
    "................",
};

constexpr Rows16 kUserControl{
    "................",
    ".kk....kk....kk.",
    ".kk....kk....kk.",
    "...g.g.g.g.g....",
    "..g..........g..",
    "...kkkkkkkkkk...",
    "..gkwwwwwwwwgkg.",
    ".kkkwBBBBBBwgkk.",
    ".kkkwBwwwwBwgkk.",
    "..gkwBBBBBBwgkg.",
    "...kgggggggggk..",
    "..gkkkkkkkkkkkg.",
    "...g.g.g.g.g.g..",
    ".kk....kk....kk.",
    ".kk....kk....kk.",
    "................",
};

constexpr Rows16 kPropertyPage{
    "................",
    ".kkkkk.kkkkk....",
    ".kwwwwkklllkk...",
    ".kwwwwwkkkkkkkk.",
    ".kwwwwwwwwwwwwkg",
    ".kwwwwwwwwwwwwkg",
    ".kwBBBwwkkkkkwkg",
    ".kwwwwwwkwwwkwkg",
    ".kwBBBBwkkkkkwkg",
    ".kwwwwwwwwwwwwkg",
    ".kwBBwwwkkkkkwkg",
    ".kwwwwwwkwwwkwkg",
    ".kwwwwwwkkkkkwkg",
    ".kkkkkkkkkkkkkkg",
    "..gggggggggggggg",
    "................",
};

constexpr Rows16 kUserDocument{
    "................",
    "..kkkkkkkkk.....",
    "..kwwwwwwwkk....",
    "..kwwwwwwwkwk...",
    "..kwwwkkkkkkkk..",
    "..kwwkcGGcckwk..",
    "..kwkccGGGcckk..",
    "..kwkcGGGGGckk..",
    "..kwkccGGcccck..",
    "..kwkcccGGccck..",
    "..kwwkcccGcckk..",
    "..kwwwkkkkkkwk..",
    "..kwBBBBBBBBwk..",
    "..kwwwwwwwwwwk..",
    "..kkkkkkkkkkkk..",
    "................",
};

constexpr Rows16 kDesigner{
    "................",
    "..k.............",
    "..kk............",
    "..kyk...........",
    "..kyyk..........",
    "..kyyyk.........",
    "..kykyyk........",
    "..kykkyyk.......",
    "..kyk.kyyk......",
    "..kyk..kyyk.....",
    "..kykkkkkyyk....",
    "..kyyyyyyyyyk...",
    "..kkkkkkkkkkkk..",
    "tttttttttttttttt",
    "tktkttktttktktkt",
    "kkkkkkkkkkkkkkkk",
};

constexpr std::array<PixelArt, kTreePictureCount> kTreePictures{{
    {"StandardEXE", kStandardExe},
    {"ActiveXEXE", kActiveXExe},
    {"ActiveXDLL", kActiveXDll},
    {"ActiveXControl", kActiveXControl},
    {"FolderC", kFolderClosed},
    {"FolderO", kFolderOpen},
    {"Form", kForm},
    {"MDIForm", kMdiForm},
    {"Module", kModule},
    {"ClassModule", kClassModule},
    {"UserControl", kUserControl},
    {"PropertyPage", kPropertyPage},
    {"UserDocument", kUserDocument},
    {"Designer", kDesigner},
}};

// The icon: a project tree, a blue root over a folder and a module.
constexpr Rows16 kIcon16{
    "................",
    ".kkkkkkk........",
    ".kBBBBBk........",
    ".kBwwwBk........",
    ".kBBBBBk........",
    ".kkkkkkk........",
    "....k...........",
    "....k...kkkkkkk.",
    "....kkkkkyyyyyk.",
    "....k...kyoooyk.",
    "....k...kkkkkkk.",
    "....k...........",
    "....k...kkkkkkk.",
    "....kkkkkGGGGGk.",
    "........kGnnnGk.",
    "........kkkkkkk.",
};

constexpr Rows32 kIcon32{
    "................................",
    "................................",
    "..kkkkkkkkkkkkkk................",
    "..kBBBBBBBBBBBBk................",
    "..kBwwwwwwwwwwBk................",
    "..kBwBBBBBBBBwBk................",
    "..kBwwwwwwwwwwBk................",
    "..kBBBBBBBBBBBBk................",
    "..kkkkkkkkkkkkkk................",
    "........kk......................",
    "........kk......................",
    "........kk......................",
    "........kk........kkkkkkkkkkkkk.",
    "........kk.......kyyyyyyyyyyyyk.",
    "........kkkkkkkkkkywwwwwwwwwwyk.",
    "........kkkkkkkkkkyyyyyyyyyyyyk.",
    "........kk.......kyoooooooooook.",
    "........kk.......kkkkkkkkkkkkkk.",
    "........kk......................",
    "........kk......................",
    "........kk......................",
    "........kk........kkkkkkkkkkkkk.",
    "........kk.......kGGGGGGGGGGGGk.",
    "........kkkkkkkkkkGwwwwwwwwwwGk.",
    "........kkkkkkkkkkGGGGGGGGGGGGk.",
    ".................knnnnnnnnnnnnk.",
    ".................kkkkkkkkkkkkkk.",
    "................................",
    "................................",
    "................................",
    "................................",
    "................................",
};

// clang-format on

constexpr PixelArt kWindowIcon16{"Tarvex16", kIcon16};
constexpr PixelArt kWindowIcon32{"Tarvex32", kIcon32};

}  // namespace

Rgb PaletteColour(char pixel) {
  for (const auto& entry : kPalette) {
    if (entry.pixel == pixel) return entry.colour;
  }
  return kMaskColour;
}

bool InPalette(char pixel) {
  for (const auto& entry : kPalette) {
    if (entry.pixel == pixel) return true;
  }
  return false;
}

const std::array<PixelArt, kTreePictureCount>& TreePictures() {
  return kTreePictures;
}
const PixelArt& WindowIcon16() {
  return kWindowIcon16;
}
const PixelArt& WindowIcon32() {
  return kWindowIcon32;
}

}  // namespace resources
