// ImageIcon: the 32 × 32 pixel, 16-colour picture on the control's face, and where it sits.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace cmndlg {

inline constexpr int32_t kImageIconLeft = 30;     // twips
inline constexpr int32_t kImageIconTop = 30;      // twips
inline constexpr int32_t kImageIconExtent = 480;  // twips, width and height
inline constexpr int kImageIconPixels = 32;

// 0x00RRGGBB for each of the 16 palette positions.
const std::array<uint32_t, 16>& ImageIconPalette();
// Row by row from the top: one character a pixel, a hexadecimal palette position or '.' for transparent.
const std::array<std::string_view, kImageIconPixels>& ImageIconRows();
// The picture as the bytes of a .ico file (one 32 × 32, 4-bit image with its transparency mask).
std::string ImageIconFile();

}  // namespace cmndlg
