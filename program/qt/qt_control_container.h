// The container that hosts the common-dialog control on the Qt window.
#pragma once

#include <string>

#include "cmndlg/cmn_dlg.h"
#include "platform/control_container.h"

namespace qtui {

// The control is invisible at run time and nothing designs the form while the program runs, so its
// face is drawn nowhere and the changes it announces are kept by no one; the settings it loads come
// from the form's saved property text.
class QtControlContainer : public platform::ControlContainer {
 public:
  // Loads the control from its saved settings and lets it size itself, as the form does at creation.
  void Load(cmndlg::CmnDlg& control, const std::string& savedSettings);

  void PropertyChanged(const std::string&) override {}
  void DrawLine(int32_t, int32_t, int32_t, int32_t, int32_t) override {}
  void SetWidth(float twips) override { widthTwips_ = twips; }
  void SetHeight(float twips) override { heightTwips_ = twips; }
  float TwipsPerPixelX() override;
  float TwipsPerPixelY() override;
  int32_t ParentHwnd() override;
  platform::Handle InstanceHandle() override;
  platform::Handle SurfaceHdc() override;

  float WidthTwips() const { return widthTwips_; }
  float HeightTwips() const { return heightTwips_; }

 private:
  float widthTwips_ = 0;
  float heightTwips_ = 0;
};

}  // namespace qtui
