// A test's own folder on the real file system, with the helpers the disk tests share.
// Header only: it needs GoogleTest and the POSIX layer, which the fakes library does not link.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/posix/code_pages.h"
#include "platform/posix/host_paths.h"

namespace fakes {

class ScratchFolderTest : public ::testing::Test {
 protected:
  // A fresh folder named after the prefix, the process and the running test.
  void MakeRoot(const std::string& prefix) {
    root = std::filesystem::temp_directory_path() /
           (prefix + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(root);
  }

  void Write(const std::string& relative, const std::string& content) {
    std::ofstream(root / relative, std::ios::binary) << content;
  }
  std::string Read(const std::string& relative) {
    std::ifstream in(root / relative, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
  // The Windows path the core sees for a path under the folder.
  std::string Win(const std::string& relative) {
    return *posix::WindowsFromHost(root.string(), *codePage) + "\\" + relative;
  }
  std::vector<std::string> NamesIn(const std::string& relative) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(root / relative))
      names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  std::filesystem::path root;
  std::unique_ptr<platform::CodePage> codePage = posix::MakeCodePage(1252);
};

}  // namespace fakes
