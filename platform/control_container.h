// The container that hosts a control: change notification, the property bag, drawing and size, and the
// handles the control hands to the system.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "platform/dialog_records.h"

namespace platform {

// A saved property's value: a Long (int32_t), a Boolean (int16_t, -1 or 0) or a String (code-page bytes).
using PropertyValue = std::variant<int32_t, int16_t, std::string>;

// Saved settings of one control. Names compare without regard to case (ASCII).
// Either call may throw; the control passes the exception on unchanged.
class PropertyBag {
 public:
  virtual ~PropertyBag() = default;
  // The value saved under name, or defaultValue when none is. The answer may be of another type than
  // the default (a Long where a Boolean was saved, a String holding a number...); the control converts.
  virtual PropertyValue ReadProperty(const std::string& name, const PropertyValue& defaultValue) = 0;
  // Saves value under name; a bag may leave out a value equal to defaultValue.
  virtual void WriteProperty(const std::string& name, const PropertyValue& value,
                             const PropertyValue& defaultValue) = 0;
};

// System colour indexes the control draws with; resolved to the current colours when drawing.
inline constexpr int32_t kColorButtonShadow = 16;
inline constexpr int32_t kColorButtonHighlight = 20;

// The form-style container a control is placed on. Every call may throw (any exception); the control
// never catches, so the error reaches whoever called the control.
class ControlContainer {
 public:
  virtual ~ControlContainer() = default;

  // The control's property under this name (its saved key) has changed.
  virtual void PropertyChanged(const std::string& name) = 0;

  // A one-pixel line on the control's surface, in pixels from its top-left corner, in a system colour.
  virtual void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t systemColor) = 0;
  // The control's own width and height, in twips (1/1440 inch).
  virtual void SetWidth(float twips) = 0;
  virtual void SetHeight(float twips) = 0;
  // The screen's twips per pixel.
  virtual float TwipsPerPixelX() = 0;
  virtual float TwipsPerPixelY() = 0;

  // The hwnd property of the form the control is placed on, read at each call; the number the
  // platform's SystemDialogs implementation takes as the owner of a dialog.
  virtual int32_t ParentHwnd() = 0;
  // The application's module instance handle.
  virtual Handle InstanceHandle() = 0;
  // The device context of the control's own drawing surface, for GetDeviceCaps.
  virtual Handle SurfaceHdc() = 0;
};

}  // namespace platform
