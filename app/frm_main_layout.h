// Where frmMain's controls stand, in twips, for a client area of a given size.
#pragma once

#include <cstdint>

namespace frmMain {

struct TwipRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
  int32_t height = 0;
  friend bool operator==(const TwipRect&, const TwipRect&) = default;
};

struct FrmMainLayout {
  TwipRect trvMain;
  TwipRect lblFile;
  TwipRect txtFile;
};

// The client area the window is created with.
inline constexpr int32_t kClientWidth = 4680;
inline constexpr int32_t kClientHeight = 3195;
// The smallest client area the window can be shrunk to.
inline constexpr int32_t kMinClientWidth = 2400;
inline constexpr int32_t kMinClientHeight = 1500;

// At the created size the controls stand exactly where the form places them; in a larger area the tree
// grows with it, and the label and the path field stay on the bottom row, the field taking the width.
FrmMainLayout LayoutFor(int32_t clientWidth, int32_t clientHeight);

}  // namespace frmMain
