#include "platform/win32/shell_win32.h"

#include <objidl.h>
#include <shobjidl.h>

#include <cstdio>
#include <cstring>

namespace platform::win32 {

namespace {

// wchar_t is 16 bits wide on Windows, so the text passes unchanged.
static_assert(sizeof(wchar_t) == sizeof(char16_t), "wide characters are UTF-16 code units");

using Entries = Win32Shell::Entries;

template <typename Function>
bool Take(HMODULE module, const char* name, Function* function) {
  *function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  return *function != nullptr;
}

class Win32ItemList : public ItemList {
 public:
  Win32ItemList(LPITEMIDLIST list, const Entries& entries) : list_(list), entries_(entries) {}
  ~Win32ItemList() override { entries_.coTaskMemFree(list_); }
  // The whole block the task allocator holds for the list: reading stops at
  // its end whatever the size fields say. Nothing when the size is unknown.
  std::vector<std::uint8_t> Bytes() override {
    ComPtr<IMalloc> allocator;
    if (FAILED(entries_.coGetMalloc(MEMCTX_TASK, &allocator)) || !allocator) return {};
    SIZE_T size = allocator->GetSize(list_);
    if (size == 0 || size == static_cast<SIZE_T>(-1)) return {};
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(list_);
    return std::vector<std::uint8_t>(bytes, bytes + size);
  }
  LPCITEMIDLIST get() const { return list_; }

 private:
  LPITEMIDLIST list_;
  const Entries& entries_;
};

class Win32ShellFolder : public ShellFolder {
 public:
  Win32ShellFolder(ComPtr<IShellFolder> folder, const Entries& entries)
      : folder_(std::move(folder)), entries_(entries) {}
  HResult GetDisplayNameOf(ItemList& item, std::uint32_t flags, StrRet* name) override {
    STRRET raw{};
    raw.uType = STRRET_CSTR;
    HRESULT result = folder_->GetDisplayNameOf(static_cast<Win32ItemList&>(item).get(), flags, &raw);
    name->type = raw.uType;
    switch (raw.uType) {
      case STRRET_WSTR:
        if (raw.pOleStr != nullptr) {
          name->wide.assign(reinterpret_cast<const char16_t*>(raw.pOleStr));
          entries_.coTaskMemFree(raw.pOleStr);
        }
        break;
      case STRRET_OFFSET:
        name->offset = raw.uOffset;
        break;
      case STRRET_CSTR:
        static_assert(sizeof raw.cStr == sizeof name->cStr, "STRRET holds 260 characters");
        std::memcpy(name->cStr, raw.cStr, sizeof name->cStr);
        break;
      default:
        break;
    }
    return result;
  }

 private:
  ComPtr<IShellFolder> folder_;
  const Entries& entries_;
};

class Win32PersistFile : public PersistFile {
 public:
  explicit Win32PersistFile(ComPtr<IPersistFile> file) : file_(std::move(file)) {}
  HResult Save(const char16_t* path, bool remember) override {
    return file_->Save(reinterpret_cast<LPCOLESTR>(path), remember ? TRUE : FALSE);
  }

 private:
  ComPtr<IPersistFile> file_;
};

class Win32ShellLink : public ShellLink {
 public:
  explicit Win32ShellLink(ComPtr<IShellLinkA> link) : link_(std::move(link)) {}
  HResult QueryPersistFile(std::unique_ptr<PersistFile>* file) override {
    ComPtr<IPersistFile> persist;
    HRESULT result = link_->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist));
    if (SUCCEEDED(result) && !persist) return E_FAIL;
    if (persist) *file = std::make_unique<Win32PersistFile>(std::move(persist));
    return result;
  }
  HResult SetPath(const char* path) override { return link_->SetPath(path); }
  HResult SetDescription(const char* description) override { return link_->SetDescription(description); }
  HResult SetArguments(const char* arguments) override { return link_->SetArguments(arguments); }
  HResult SetWorkingDirectory(const char* directory) override { return link_->SetWorkingDirectory(directory); }

 private:
  ComPtr<IShellLinkA> link_;
};

}  // namespace

bool Win32Shell::Load() {
  if (loaded_) return true;
  if (!ole32_) ole32_.reset(LoadLibraryA("ole32.dll"));
  if (!shell32_) shell32_.reset(LoadLibraryA("shell32.dll"));
  if (!ole32_ || !shell32_) return false;
  Entries entries;
  loaded_ = Take(ole32_.get(), "CoInitialize", &entries.coInitialize) &&
            Take(ole32_.get(), "CoUninitialize", &entries.coUninitialize) &&
            Take(ole32_.get(), "CoCreateInstance", &entries.coCreateInstance) &&
            Take(ole32_.get(), "CoTaskMemFree", &entries.coTaskMemFree) &&
            Take(ole32_.get(), "CoGetMalloc", &entries.coGetMalloc) &&
            Take(shell32_.get(), "SHGetSpecialFolderLocation", &entries.getSpecialFolderLocation) &&
            Take(shell32_.get(), "SHGetDesktopFolder", &entries.getDesktopFolder);
  if (loaded_) entries_ = entries;
  return loaded_;
}

HResult Win32Shell::InitializeCom() { return Load() ? entries_.coInitialize(nullptr) : E_FAIL; }

void Win32Shell::UninitializeCom() {
  if (loaded_) entries_.coUninitialize();
}

HResult Win32Shell::GetSpecialFolderLocation(int folder, std::unique_ptr<ItemList>* list) {
  if (!Load()) return E_FAIL;
  LPITEMIDLIST items = nullptr;
  HRESULT result = entries_.getSpecialFolderLocation(nullptr, folder, &items);
  if (items != nullptr) *list = std::make_unique<Win32ItemList>(items, entries_);
  if (SUCCEEDED(result) && items == nullptr) return E_FAIL;
  return result;
}

HResult Win32Shell::GetDesktopFolder(std::unique_ptr<ShellFolder>* folder) {
  if (!Load()) return E_FAIL;
  ComPtr<IShellFolder> desktop;
  HRESULT result = entries_.getDesktopFolder(&desktop);
  if (SUCCEEDED(result) && !desktop) return E_FAIL;
  if (desktop) *folder = std::make_unique<Win32ShellFolder>(std::move(desktop), entries_);
  return result;
}

HResult Win32Shell::CreateShellLink(std::unique_ptr<ShellLink>* link) {
  if (!Load()) return E_FAIL;
  ComPtr<IShellLinkA> shellLink;
  HRESULT result = entries_.coCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                             reinterpret_cast<void**>(&shellLink));
  if (SUCCEEDED(result) && !shellLink) return E_FAIL;
  if (shellLink) *link = std::make_unique<Win32ShellLink>(std::move(shellLink));
  return result;
}

int Win32Shell::WideToAnsi(const std::u16string& wide, char* text, int size) {
  return WideCharToMultiByte(CP_ACP, WC_COMPOSITECHECK, reinterpret_cast<LPCWSTR>(wide.c_str()), -1, text, size,
                             nullptr, nullptr);
}

int Win32Shell::AnsiToWide(const char* text, char16_t* wide, int size) {
  return MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text, -1, reinterpret_cast<LPWSTR>(wide), size);
}

void Win32Shell::SetLastError(std::uint32_t error) { ::SetLastError(error); }

std::uint32_t Win32Shell::GetLastError() { return ::GetLastError(); }

void Win32Shell::WriteStandardOutput(const std::string& text) {
  std::fputs(text.c_str(), stdout);
  std::fflush(stdout);
}

}  // namespace platform::win32
