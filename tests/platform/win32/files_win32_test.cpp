// The project's files on the Windows file system, on a real scratch folder: the operations of
// tests/data/platform/win32/win32_files.txt. A whole pack through them is checked end to end by
// scripts/run-win32-tests, which compares tarvex-cli.exe's packed files with the Linux build's.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <sstream>

#include "platform/errors.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_probe_files.h"
#include "tests/fakes/table_file.h"

namespace {

namespace fs = std::filesystem;

std::string ReadFileBytes(const std::string& path) {
  std::ostringstream bytes;
  bytes << std::ifstream(path, std::ios::binary).rdbuf();
  return bytes.str();
}

// Each case is an operation on the folder "%" and what it gives.
TEST(Win32Files, FollowTheOperationsFile) {
  const fs::path folder = fs::temp_directory_path() / ("tvt" + std::to_string(std::random_device()()));
  fs::create_directory(folder);
  win32::Win32Files files;
  win32::Win32ProbeFiles probes;
  std::unique_ptr<platform::InputFile> input;
  std::unique_ptr<platform::OutputFile> output;
  std::unique_ptr<platform::ProbeFile> probe;
  platform::FileState read;                              // what "state" saw, for "replace-read"
  std::map<platform::FileIdentity, std::string> copied;  // each source's identity, and the copy that named it
  for (const fakes::Row& row : fakes::ReadTable("platform/win32/win32_files.txt", "|", 2)) {
    const std::string& line = row.at(0);
    std::istringstream words(line);
    std::string command, name, other, shown;
    words >> command >> name >> other;
    const std::string text = line.substr(std::min(line.size(), command.size() + name.size() + 2));
    const auto path = [&](const std::string& name) {
      return name.starts_with('%') ? folder.string() + name.substr(1) : name;
    };
    try {
      if (command == "write" || command == "fill") {  // fill NAME COUNT: that many "x"
        std::ofstream(path(name), std::ios::binary)
            << (command == "fill" ? std::string(std::stoul(other), 'x') : text);
      } else if (command == "read-only") {
        ::SetFileAttributesA(path(name).c_str(), FILE_ATTRIBUTE_READONLY);
      } else if (command == "open") {  // read in pieces of 3 bytes; the file stays open until "drop"
        input = files.OpenInput(path(name));
        char buffer[3];
        for (std::size_t n; (n = input->Read(buffer, sizeof buffer)) > 0;) shown.append(buffer, n);
      } else if (command == "drop") {
        input.reset();
      } else if (command == "create") {
        output = files.CreateOutput(path(name));
      } else if (command == "put") {
        output->Write(line.substr(4));
      } else if (command == "close") {
        output->Close();
        output.reset();
      } else if (command == "abandon") {  // the output destroyed without Close
        output.reset();
      } else if (command == "link") {
        if (!::CreateHardLinkA(path(other).c_str(), path(name).c_str(), nullptr))
          shown = "no hard links here";
      } else if (command == "identify") {
        const auto a = files.Identify(path(name)), b = files.Identify(path(other));
        shown = !a || !b ? "none" : a == b ? "same" : "different";
      } else if (command == "state") {
        read = files.StateOf(path(name));
        shown = std::to_string(read.size) + " bytes, " + std::to_string(read.links) + " name(s)";
      } else if (command == "replace-read") {
        files.ReplaceWhole(path(name), text, &read);
      } else if (command == "copy") {
        const auto [named, first] = copied.emplace(files.CopyReplacing(path(name), path(other)), other);
        shown = first ? "a source not copied before" : "the source copied to " + named->second;
      } else if (command == "replace") {
        files.ReplaceWhole(path(name), text);
      } else if (command == "exists") {
        shown = files.Exists(path(name)) ? "yes" : "no";
      } else if (command == "probe") {
        auto created = probes.CreateExclusive(path(name));
        if (created.file != nullptr) probe = std::move(created.file);
        shown = std::array{"created", "already exists", "failed"}[static_cast<int>(created.outcome)];
      } else if (command == "unprobe") {
        shown = probe->Close() ? "closed" : "not closed";
        probe.reset();
      } else if (command == "delete") {
        shown = probes.Delete(path(name)) ? "deleted" : "not deleted";
      } else {
        EXPECT_EQ(command, "folder");  // each file's name, size, and its bytes when they are few
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder)) {
          const std::string bytes = ReadFileBytes(entry.path().string());
          names.push_back(entry.path().filename().string() + " " + std::to_string(bytes.size()) +
                          (bytes.size() < 40 ? " \"" + bytes + "\"" : ""));
        }
        std::sort(names.begin(), names.end());
        for (const auto& name : names) shown += name + "; ";
      }
    } catch (const platform::FileError& error) {
      const std::string where = error.Path();
      shown = "FileError on " +
              (where.starts_with(folder.string()) ? "%" + where.substr(folder.string().size()) : where) +
              (std::string(error.what()).empty() ? " without a reason" : "");
    }
    EXPECT_EQ(shown, row.at(1)) << line;
  }
  std::error_code ignored;
  for (const auto& entry : fs::directory_iterator(folder, ignored))
    ::SetFileAttributesA(entry.path().string().c_str(), FILE_ATTRIBUTE_NORMAL);
  fs::remove_all(folder, ignored);
}

}  // namespace
