// IShellLinkA and IPersistFile of the shell's ShellLink object, each released with its wrapper.
#include "platform/win32/win32_shell_link.h"

#include "platform/win32/windows_api.h"

#include <objbase.h>
#include <objidl.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "IPersistFile::Save takes UTF-16 text");

ComApartment::ComApartment() : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}

ComApartment::~ComApartment() {
  if (SUCCEEDED(result_)) ::CoUninitialize();
}

namespace {

// One reference to a COM interface.
template <typename Interface>
class ComRef {
 public:
  explicit ComRef(Interface* pointer = nullptr) : pointer_(pointer) {}
  ~ComRef() {
    if (pointer_ != nullptr) pointer_->Release();
  }
  ComRef(const ComRef&) = delete;
  ComRef& operator=(const ComRef&) = delete;
  Interface* operator->() const { return pointer_; }

 private:
  Interface* pointer_;
};

class ComPersistFile : public platform::PersistFile {
 public:
  explicit ComPersistFile(IPersistFile* file) : file_(file) {}
  platform::HResult Save(const std::u16string& fileName, bool remember) override {
    return file_->Save(reinterpret_cast<LPCOLESTR>(fileName.c_str()), remember ? TRUE : FALSE);
  }

 private:
  ComRef<IPersistFile> file_;
};

class ComShellLink : public platform::ShellLink {
 public:
  explicit ComShellLink(IShellLinkA* link) : link_(link), raw_(link) {}
  platform::HResult SetPath(const std::string& file) override { return link_->SetPath(file.c_str()); }
  platform::HResult SetWorkingDirectory(const std::string& dir) override {
    return link_->SetWorkingDirectory(dir.c_str());
  }
  platform::HResult SetArguments(const std::string& args) override {
    return link_->SetArguments(args.c_str());
  }
  platform::HResult SetDescription(const std::string& name) override {
    return link_->SetDescription(name.c_str());
  }
  platform::HResult SetIconLocation(const std::string& iconPath, int32_t icon) override {
    return link_->SetIconLocation(iconPath.c_str(), icon);
  }
  platform::HResult SetShowCmd(int32_t showCmd) override { return link_->SetShowCmd(showCmd); }
  platform::HResult Resolve(std::uintptr_t window, uint32_t flags) override {
    return link_->Resolve(reinterpret_cast<HWND>(window), flags);
  }
  platform::HResult QueryPersistFile(std::unique_ptr<platform::PersistFile>& file) override {
    IPersistFile* persist = nullptr;
    const HRESULT result = raw_->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist));
    if (SUCCEEDED(result) && persist != nullptr) file = std::make_unique<ComPersistFile>(persist);
    return result;
  }

 private:
  ComRef<IShellLinkA> link_;
  IShellLinkA* raw_;  // owned by link_
};

}  // namespace

platform::HResult ComShellLinks::Create(std::unique_ptr<platform::ShellLink>& link) {
  IShellLinkA* created = nullptr;
  const HRESULT result = ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                            reinterpret_cast<void**>(&created));
  if (SUCCEEDED(result) && created != nullptr) link = std::make_unique<ComShellLink>(created);
  return result;
}

}  // namespace win32
