#include "platform/win32/win32_folder_maker.h"

#include "platform/errors.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/windows_api.h"

namespace win32 {

void Win32FolderMaker::MakeFolder(const std::string& path) {
  if (::CreateDirectoryA(path.c_str(), nullptr)) return;
  const DWORD error = ::GetLastError();
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  if (error == ERROR_ALREADY_EXISTS && attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0)
    return;
  throw platform::FileError(path, SystemReason(error));
}

}  // namespace win32
