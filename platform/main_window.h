// The window services the main window's handlers use: the path field and the end of the program.
#pragma once

#include <string>

namespace platform {

class MainWindow {
 public:
  virtual ~MainWindow() = default;
  // Sets the text of the read-only path field txtFile (code-page bytes).
  virtual void SetFileText(const std::string& text) = 0;
  // Unloads the window; the platform then raises Form_Unload.
  virtual void Unload() = 0;
  // Ends the program at once, asking nothing and saving nothing.
  virtual void EndProgram() = 0;
};

}  // namespace platform
