// An environment variable set for one scope.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace fakes {

// Sets an environment variable (or unsets it, for nullopt) and puts the old value back at the end of scope.
class EnvironmentSetting {
 public:
  EnvironmentSetting(const char* name, const std::optional<std::string>& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    Set(value);
  }
  ~EnvironmentSetting() { Set(old_); }
  void Set(const std::optional<std::string>& value) const {
    if (value) {
      ::setenv(name_, value->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

}  // namespace fakes
