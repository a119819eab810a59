// A folder's names as the host spells them, read once through one open folder handle, and the one
// case-folded listing of the POSIX layer: every lookup of a name without regard to case goes through it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/folded_names.h"
#include "platform/code_page.h"

namespace posix {

// Every name in the host folder but "." and "..", in the order the system gives them; nothing when the
// folder cannot be listed.
std::optional<std::vector<std::string>> HostNamesIn(const std::string& hostFolder);

// A folder's names as one listing read them: each host name with its type (a dirent d_type), and the
// names folded by characters in the code page, the first host name in byte order of those that fold
// alike. A name the code page cannot spell is found only as the host spells it.
class FolderListing {
 public:
  explicit FolderListing(const platform::CodePage& codePage)
      : codePage_(&codePage), folded_(codePage.LeadBytes()) {}

  // Reads the host folder; complete() tells whether it could be read through.
  static FolderListing Read(const std::string& hostFolder, const platform::CodePage& codePage);

  bool complete() const { return complete_; }
  // A name that came into the folder after it was read.
  void Add(const std::string& host, unsigned char type);
  // The type of the name spelled exactly so on the host, or nothing when there is none.
  std::optional<unsigned char> TypeOf(const std::string& host) const;
  // The host name that matches name (in the code page) without regard to case; null when none does.
  const std::string* FindFolded(std::string_view name) const { return folded_.Find(name); }

 private:
  const platform::CodePage* codePage_;
  bool complete_ = false;
  std::unordered_map<std::string, unsigned char> types_;
  base::FoldedNames folded_;
};

}  // namespace posix
