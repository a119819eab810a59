// The pictures of the project tree's image list and the main window's icon, kept as palette-indexed
// rows of characters so that every platform builds its bitmaps from the same data.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace resources {

struct Rgb {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The mask colour: pixels of this colour are transparent.
inline constexpr Rgb kMaskColour{192, 192, 192};
// The palette character that stands for the mask colour.
inline constexpr char kMaskPixel = '.';

// A square picture: one row of characters per line of pixels, top to bottom, each character a
// palette entry.
struct PixelArt {
  std::string_view key;
  std::span<const std::string_view> rows;
  int32_t Size() const { return static_cast<int32_t>(rows.size()); }
};

// The colour of a palette character; the mask colour for a character the palette lacks.
Rgb PaletteColour(char pixel);
// Whether the palette holds the character.
bool InPalette(char pixel);

inline constexpr int32_t kTreePictureCount = 14;
inline constexpr int32_t kTreePictureSize = 16;

// The image list imltrvMain: position 1 is TreePictures()[0]. Order and keys are fixed, because the
// tree chooses the root's and the components' pictures by position.
const std::array<PixelArt, kTreePictureCount>& TreePictures();

// The main window's icon, 16 by 16 and 32 by 32 pixels.
const PixelArt& WindowIcon16();
const PixelArt& WindowIcon32();

}  // namespace resources
