// A window that records what the core did to it: pointer changes, message boxes, the Save As command.
#pragma once

#include <string>
#include <vector>

#include "platform/user_interface.h"

namespace fakes {

class RecordingPointer : public platform::MousePointer {
 public:
  void Set(int32_t pointer) override {
    current = pointer;
    history.push_back(pointer);
  }
  void StillBusy() override {
    if (current == platform::vbHourglass) ++busyUnderHourglass;
  }
  int32_t current = platform::vbDefault;
  std::vector<int32_t> history;
  int busyUnderHourglass = 0;
};

class RecordingMessages : public platform::MessageBox {
 public:
  explicit RecordingMessages(const RecordingPointer* pointer = nullptr) : pointer_(pointer) {}
  void Show(const std::string& text, int32_t style, const std::string& caption) override {
    shown.push_back(Said(text, style, caption, pointer_ ? pointer_->current : -1));
  }
  std::vector<std::string> shown;  // each message as Said writes it
  // The one message shown, or how many there were.
  std::string Only() const {
    return shown.size() == 1 ? shown[0] : std::to_string(shown.size()) + " messages";
  }
  static std::string Said(const std::string& text, int32_t style, const std::string& caption = "Tarvex",
                          int32_t pointer = platform::vbDefault) {
    return text + " (style " + std::to_string(style) + ", " + caption + ", pointer " +
           std::to_string(pointer) + ")";
  }

 private:
  const RecordingPointer* pointer_;
};

class RecordingCommand : public platform::MenuCommand {
 public:
  void SetEnabled(bool value) override { enabled = value; }
  bool enabled = false;
};

}  // namespace fakes
