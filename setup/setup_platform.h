// Everything Setup mode takes from the platform.
#pragma once

#include "platform/code_page.h"
#include "platform/probe_files.h"
#include "platform/random_source.h"
#include "platform/shell_folders.h"
#include "platform/shell_link.h"

struct SetupPlatform {
  platform::ShellFolders& shellFolders;
  platform::Registry& registry;
  const platform::ProgramFile& programFile;
  platform::ProbeFiles& probeFiles;
  platform::RandomSource& random;
  platform::ShellLinkFactory& shellLinks;
  const platform::CodePage& codePage;
};
