// The application-wide hourglass for a long operation: shown on construction, the default pointer
// back at Restore() or, whatever escapes the operation, at the end of the scope.
#pragma once

#include "platform/user_interface.h"

namespace mdlFile {

class Hourglass {
 public:
  explicit Hourglass(platform::MousePointer& pointer) : pointer_(pointer) {
    pointer_.Set(platform::vbHourglass);
  }
  ~Hourglass() { Restore(); }
  Hourglass(const Hourglass&) = delete;
  Hourglass& operator=(const Hourglass&) = delete;
  void Restore() {
    if (shown_) pointer_.Set(platform::vbDefault);
    shown_ = false;
  }

 private:
  platform::MousePointer& pointer_;
  bool shown_ = true;
};

}  // namespace mdlFile
