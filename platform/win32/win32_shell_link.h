// The shell's ShellLink object through COM, and the single-threaded apartment it needs.
#pragma once

#include "platform/shell_link.h"

namespace win32 {

// COM initialised as a single-threaded apartment on this thread for the object's lifetime.
class ComApartment {
 public:
  ComApartment();
  ~ComApartment();
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  // The HRESULT of CoInitializeEx (S_FALSE when the thread already was in an apartment).
  platform::HResult Result() const { return result_; }

 private:
  platform::HResult result_;
};

// CoCreateInstance(CLSID_ShellLink) for IShellLinkA.
class ComShellLinks : public platform::ShellLinkFactory {
 public:
  platform::HResult Create(std::unique_ptr<platform::ShellLink>& link) override;
};

}  // namespace win32
