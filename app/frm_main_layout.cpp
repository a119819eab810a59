// frmMain's layout in twips: a margin of 60 all round, the tree above, the label and the field below.
#include "app/frm_main_layout.h"

#include <algorithm>

namespace frmMain {

FrmMainLayout LayoutFor(int32_t clientWidth, int32_t clientHeight) {
  const int32_t width = std::max(clientWidth, kMinClientWidth);
  const int32_t height = std::max(clientHeight, kMinClientHeight);
  FrmMainLayout layout;
  layout.trvMain = {60, 60, width - 120, height - 480};
  layout.lblFile = {60, height - 285, 1200, 195};
  layout.txtFile = {1380, height - 345, width - 1440, 285};
  return layout;
}

}  // namespace frmMain
