// The command line's host on POSIX: the code page from TARVEX_CODEPAGE, files through the Z: mapping.
#include <filesystem>

#include "cli/console.h"
#include "platform/posix/host_paths.h"
#include "platform/posix/posix_host.h"

namespace cli {

namespace {

class PosixCommandHost : public Host {
 public:
  const platform::CodePage& codePage() const override { return host_.codePage(); }
  platform::TextFiles& files() override { return host_.files(); }
  platform::PackFiles& packFiles() override { return host_.packFiles(); }

 private:
  posix::Host host_;
};

}  // namespace

std::unique_ptr<Host> MakeHost() { return std::make_unique<PosixCommandHost>(); }

std::optional<std::string> WindowsPathOf(const std::string& argument, const platform::CodePage& codePage) {
  std::error_code error;
  std::filesystem::path absolute = std::filesystem::absolute(argument, error);
  if (error) return std::nullopt;
  return posix::WindowsFromHost(absolute.lexically_normal().string(), codePage);
}

}  // namespace cli
