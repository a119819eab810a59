// ImageIcon: the 32 × 32 pixel, 16-colour picture on the control's face, and where it sits.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace cmndlg {

inline constexpr int kImageIconPixels = 32;

// Row by row from the top: one character a pixel, a hexadecimal palette position or '.' for transparent.
const std::array<std::string_view, kImageIconPixels>& ImageIconRows();
// The picture as the bytes of a .ico file (one 32 × 32, 4-bit image with its transparency mask).
std::string ImageIconFile();

}  // namespace cmndlg
