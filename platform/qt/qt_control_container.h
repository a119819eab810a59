// The container that hosts the common-dialog control on the Qt window.
#pragma once

#include <QImage>
#include <QWidget>
#include <set>
#include <string>

#include "cmndlg/cmn_dlg.h"
#include "platform/control_container.h"

namespace qtui {

// The control is invisible at run time, so its face is drawn into an image of its own that nothing
// shows; the settings it loads come from the form's saved property text.
class QtControlContainer : public platform::ControlContainer {
 public:
  explicit QtControlContainer(QWidget& form) : form_(form) {}

  // Loads the control from its saved settings and lets it size itself, as the form does at creation.
  void Load(cmndlg::CmnDlg& control, const std::string& savedSettings);

  void PropertyChanged(const std::string& name) override { changed_.insert(name); }
  void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t systemColor) override;
  void SetWidth(float twips) override { widthTwips_ = twips; }
  void SetHeight(float twips) override { heightTwips_ = twips; }
  float TwipsPerPixelX() override;
  float TwipsPerPixelY() override;
  int32_t ParentHwnd() override;
  platform::Handle InstanceHandle() override;
  platform::Handle SurfaceHdc() override;

  float WidthTwips() const { return widthTwips_; }
  float HeightTwips() const { return heightTwips_; }
  const QImage& Face() const { return face_; }
  // The saved keys announced since the control was created.
  const std::set<std::string>& Changed() const { return changed_; }

 private:
  QWidget& form_;
  QImage face_;
  float widthTwips_ = 0;
  float heightTwips_ = 0;
  std::set<std::string> changed_;
};

}  // namespace qtui
