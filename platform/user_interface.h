// The window services that reading and packing report through.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

inline constexpr int32_t vbDefault = 0;
inline constexpr int32_t vbHourglass = 11;

inline constexpr int32_t MB_OK = 0;
inline constexpr int32_t MB_ICONERROR = 16;
inline constexpr int32_t MB_ICONINFORMATION = 64;

// The application-wide mouse pointer.
class MousePointer {
 public:
  virtual ~MousePointer() = default;
  virtual void Set(int32_t pointer) = 0;
  // Called between the steps of a long operation while the hourglass shows, so that the window can
  // repaint instead of freezing; the window decides how often that is worth doing.
  virtual void StillBusy() {}
};

// A modal message box; returns when the user has closed it.
class MessageBox {
 public:
  virtual ~MessageBox() = default;
  virtual void Show(const std::string& text, int32_t style, const std::string& caption) = 0;
};

// A menu command whose enabled state the core sets.
class MenuCommand {
 public:
  virtual ~MenuCommand() = default;
  virtual void SetEnabled(bool enabled) = 0;
};

}  // namespace platform
