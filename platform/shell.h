// The Windows shell and COM as the shortcut and Media Center code use them:
// COM for the thread, the desktop folder's item list and display name, shell
// link objects with their persist-file interface, and the ANSI/wide
// conversions around them. Objects release their interface when destroyed.
// Results are HRESULTs; display names come back raw, as the shell gives them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

using HResult = std::int32_t;  // the same alias as the other COM-shaped seams
constexpr HResult kHrOk = 0;
constexpr HResult kHrFail = static_cast<HResult>(0x80004005);                // E_FAIL
constexpr HResult kHrInsufficientBuffer = static_cast<HResult>(0x8007007A);  // HRESULT_FROM_WIN32(122)
constexpr bool HrSucceeded(HResult result) { return result >= 0; }

constexpr std::uint32_t kErrorInvalidFunction = 1;
constexpr std::uint32_t kErrorInsufficientBuffer = 122;

constexpr int kCsidlDesktopDirectory = 0x10;
constexpr std::uint32_t kShgdnForParsing = 0x8000;

constexpr std::uint32_t kStrRetWstr = 0;
constexpr std::uint32_t kStrRetOffset = 1;
constexpr std::uint32_t kStrRetCstr = 2;
constexpr std::size_t kStrRetCstrSize = 260;

// A STRRET as IShellFolder::GetDisplayNameOf fills it.
struct StrRet {
  std::uint32_t type = kStrRetCstr;
  std::u16string wide;              // STRRET_WSTR (the shell's copy is freed by the adapter)
  std::uint32_t offset = 0;         // STRRET_OFFSET: byte offset of an ANSI string in the item list
  char cStr[kStrRetCstrSize] = {};  // STRRET_CSTR
};

// An item identifier list; CoTaskMemFree when destroyed.
class ItemList {
 public:
  virtual ~ItemList() = default;
  // The bytes of the list's memory block (IMalloc::GetSize of it); the list
  // ends at its first zero size field within them, if there is one.
  virtual std::vector<std::uint8_t> Bytes() = 0;
};

// IShellFolder; Release when destroyed.
class ShellFolder {
 public:
  virtual ~ShellFolder() = default;
  // IShellFolder::GetDisplayNameOf(item, flags, name).
  virtual HResult GetDisplayNameOf(ItemList& item, std::uint32_t flags, StrRet* name) = 0;
};

// IPersistFile of a shell link; Release when destroyed.
class PersistFile {
 public:
  virtual ~PersistFile() = default;
  // IPersistFile::Save(path, remember).
  virtual HResult Save(const char16_t* path, bool remember) = 0;
};

// IShellLinkA; Release when destroyed.
class ShellLink {
 public:
  virtual ~ShellLink() = default;
  // QueryInterface(IID_IPersistFile).
  virtual HResult QueryPersistFile(std::unique_ptr<PersistFile>* file) = 0;
  // IShellLinkA::SetPath.
  virtual HResult SetPath(const char* path) = 0;
  // IShellLinkA::SetDescription.
  virtual HResult SetDescription(const char* description) = 0;
  // IShellLinkA::SetArguments.
  virtual HResult SetArguments(const char* arguments) = 0;
  // IShellLinkA::SetWorkingDirectory.
  virtual HResult SetWorkingDirectory(const char* directory) = 0;
};

class Shell {
 public:
  virtual ~Shell() = default;
  // CoInitialize(NULL).
  virtual HResult InitializeCom() = 0;
  // CoUninitialize().
  virtual void UninitializeCom() = 0;
  // SHGetSpecialFolderLocation(NULL, folder, &list).
  virtual HResult GetSpecialFolderLocation(int folder, std::unique_ptr<ItemList>* list) = 0;
  // SHGetDesktopFolder(&folder).
  virtual HResult GetDesktopFolder(std::unique_ptr<ShellFolder>* folder) = 0;
  // CoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA, &link).
  virtual HResult CreateShellLink(std::unique_ptr<ShellLink>* link) = 0;
  // WideCharToMultiByte(CP_ACP, WC_COMPOSITECHECK, wide, -1, text, size, NULL, NULL):
  // the bytes written with the terminator, 0 on failure.
  virtual int WideToAnsi(const std::u16string& wide, char* text, int size) = 0;
  // MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text, -1, wide, size):
  // the characters written with the terminator, 0 on failure.
  virtual int AnsiToWide(const char* text, char16_t* wide, int size) = 0;
  // SetLastError(error).
  virtual void SetLastError(std::uint32_t error) = 0;
  // GetLastError().
  virtual std::uint32_t GetLastError() = 0;
  // Writes text to the program's standard output.
  virtual void WriteStandardOutput(const std::string& text) = 0;
};

}  // namespace platform
