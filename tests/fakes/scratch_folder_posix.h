// A fresh folder on the real file system for one test, removed with everything in it (read-only folders
// inside are opened up first). Header only: the fakes library does not link the POSIX layer.
#pragma once

#include <sys/wait.h>
#include <cstdlib>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

namespace fakes {

namespace fs = std::filesystem;

class Scratch {
 public:
  Scratch() {
    std::string pattern = (fs::temp_directory_path() / "tarvex-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    root_ = pattern;
    fs::permissions(root_, fs::perms(0755));
  }
  ~Scratch() {
    std::error_code ignored;
    for (auto it = fs::recursive_directory_iterator(root_, ignored); it != fs::recursive_directory_iterator();
         it.increment(ignored)) {
      if (it->is_directory(ignored) && !it->is_symlink(ignored))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::remove_all(root_, ignored);
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;

  const fs::path& Path() const { return root_; }
  fs::path operator/(const std::string& relative) const { return root_ / relative; }
  // A folder under the scratch folder, with its permissions.
  fs::path Make(const std::string& relative, fs::perms perms = fs::perms(0777)) const {
    const fs::path p = root_ / relative;
    fs::create_directories(p);
    fs::permissions(p, perms);
    return p;
  }
  void Write(const fs::path& relative, const std::string& bytes) const {
    fs::create_directories((root_ / relative).parent_path());
    std::ofstream(root_ / relative, std::ios::binary | std::ios::trunc) << bytes;
  }
  std::string Read(const std::string& relative) const { return ReadAll(root_ / relative); }
  // The Windows form of a path under the folder (its names are ASCII): Z: and backslashes.
  std::string Win(const std::string& relative = "") const {
    std::string out = "Z:" + root_.string() + (relative.empty() ? "" : "\\" + relative);
    std::replace(out.begin(), out.end(), '/', '\\');
    return out;
  }
  std::vector<std::string> NamesIn(const std::string& relative) const { return Names(root_ / relative); }
  // The names in a folder, sorted.
  static std::vector<std::string> Names(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }
  // A test's name made of a case's: letters and digits kept, anything else made "_".
  static std::string TestName(std::string name) {
    for (char& c : name) c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
  }
  // Every regular file under the folder (or under an absolute path) with its bytes, and with `modes` its
  // permission bits as "NAME mode"; symbolic links are left out, and a folder that is not there holds
  // nothing.
  std::map<std::string, std::string> Snapshot(const fs::path& relative, bool modes = false) const {
    std::map<std::string, std::string> files;
    if (!fs::exists(root_ / relative)) return files;
    for (const auto& entry : fs::recursive_directory_iterator(root_ / relative)) {
      if (!entry.is_regular_file() || entry.is_symlink()) continue;
      const std::string name = fs::relative(entry.path(), root_ / relative).string();
      files[name] = ReadAll(entry.path());
      if (modes) files[name + " mode"] = std::to_string(static_cast<int>(entry.status().permissions()));
    }
    return files;
  }
  // The built tarvex-cli run with the arguments (as the shell reads them) in the folder or one under it:
  // its exit status and what it printed to stdout and to stderr, with the folder as <root>.
  std::tuple<int, std::string, std::string> Run(const std::string& args, const std::string& in = "") const {
    const std::string out = (root_ / "stdout.txt").string(), err = (root_ / "stderr.txt").string();
    const std::string command = "cd '" + (root_ / in).string() +
                                "' && '" TARVEX_BINARY_DIR "/cli/tarvex-cli' " + args + " >'" + out +
                                "' 2>'" + err + "'";
    const int status = std::system(command.c_str());
    std::tuple ran{WIFEXITED(status) ? WEXITSTATUS(status) : -1, Relative(ReadAll(out)),
                   Relative(ReadAll(err))};
    fs::remove(out);
    fs::remove(err);
    return ran;
  }
  // A case's setting: the first line of its file, or the fallback when the case has no such file.
  static std::string Setting(const fs::path& file, const std::string& fallback) {
    const std::string value = fs::exists(file) ? ReadAll(file) : fallback;
    return value.substr(0, value.find_first_of("\r\n"));
  }

  // The text with the folder's path, in its POSIX, Windows and JSON-escaped Windows forms, as <root>.
  std::string Relative(std::string text) const {
    std::string json;
    for (const char c : Win()) json += c == '\\' ? std::string("\\\\") : std::string(1, c);
    for (const std::string& form : {json, Win(), root_.string()}) {
      for (auto at = text.find(form); at != std::string::npos; at = text.find(form, at))
        text.replace(at, form.size(), "<root>");
    }
    return text;
  }
  // What a pack into the folder `target` must not do, each time it was done: change a file under
  // `sources` or outside the target folder, or write one anywhere but directly in it. `before` is
  // Snapshot("") from before the pack.
  std::vector<std::string> Trespasses(const std::map<std::string, std::string>& before,
                                      const std::string& sources, const fs::path& target) const {
    std::vector<std::string> found;
    const fs::path folder = fs::weakly_canonical(root_ / target);
    for (const auto& [name, bytes] : Snapshot("")) {
      const bool inTarget = fs::weakly_canonical((root_ / name).parent_path()) == folder;
      const auto old = before.find(name);
      if (old == before.end() ? !inTarget : (name.starts_with(sources) || !inTarget) && old->second != bytes)
        found.push_back(name + (old == before.end() ? " was written" : " was changed"));
    }
    return found;
  }

  static std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }

 private:
  fs::path root_;
};

}  // namespace fakes
