#include "cmndlg/dialog_buffers.h"

#include <algorithm>

#include "cmndlg/cmn_dlg.h"
#include "platform/errors.h"

namespace cmndlg {

std::string NulEnded(std::string_view text) {
  std::string buffer(text);
  buffer += '\0';
  return buffer;
}

std::string FilterList(std::string_view filter) {
  std::string list = NulEnded(filter);
  std::replace(list.begin(), list.end(), '|', '\0');
  return list;
}

std::string FileBuffer(std::string_view fileName) {
  if (fileName.size() > kFileBufferLength - 1) {
    throw platform::RaisedError(kInvalidArgument, "Invalid procedure call or argument");
  }
  std::string buffer(fileName);
  buffer.resize(kFileBufferLength, '\0');
  return buffer;
}

std::string TextBeforeNul(std::string_view buffer) {
  return std::string(buffer.substr(0, buffer.find('\0')));
}

}  // namespace cmndlg
