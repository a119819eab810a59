// Finds the last "Attribute VB_Name = value" line of a component file at the speed of reading it.
#pragma once

#include <string>

#include "platform/text_files.h"

namespace mdlFile {

// The value of the file's last line whose key, trimmed of blanks and lower-cased, is
// "attribute vb_name", trimmed and without its double quotes; empty when there is none.
// Throws FileError when a read fails.
std::string ScanComponentName(platform::InputFile& file);

}  // namespace mdlFile
