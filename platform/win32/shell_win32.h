// Shell on shell32 and ole32: SHGetSpecialFolderLocation, SHGetDesktopFolder,
// CoCreateInstance of the shell link with IShellLinkA and IPersistFile. Both
// libraries are loaded on first use, so that a start of the program that
// never touches the shell does not pay for loading them.
#pragma once

#include <windows.h>

#include <objbase.h>
#include <shlobj.h>

#include "platform/shell.h"
#include "platform/win32/handles.h"

namespace platform::win32 {

class Win32Shell : public Shell {
 public:
  HResult InitializeCom() override;
  void UninitializeCom() override;
  HResult GetSpecialFolderLocation(int folder, std::unique_ptr<ItemList>* list) override;
  HResult GetDesktopFolder(std::unique_ptr<ShellFolder>* folder) override;
  HResult CreateShellLink(std::unique_ptr<ShellLink>* link) override;
  int WideToAnsi(const std::u16string& wide, char* text, int size) override;
  int AnsiToWide(const char* text, char16_t* wide, int size) override;
  void SetLastError(std::uint32_t error) override;
  std::uint32_t GetLastError() override;
  void WriteStandardOutput(const std::string& text) override;

  // The entry points taken from the two libraries.
  struct Entries {
    HRESULT(WINAPI* coInitialize)(LPVOID) = nullptr;
    void(WINAPI* coUninitialize)() = nullptr;
    HRESULT(WINAPI* coCreateInstance)(REFCLSID, LPUNKNOWN, DWORD, REFIID, LPVOID*) = nullptr;
    void(WINAPI* coTaskMemFree)(LPVOID) = nullptr;
    HRESULT(WINAPI* coGetMalloc)(DWORD, LPMALLOC*) = nullptr;
    HRESULT(WINAPI* getSpecialFolderLocation)(HWND, int, LPITEMIDLIST*) = nullptr;
    HRESULT(WINAPI* getDesktopFolder)(IShellFolder**) = nullptr;
  };

 private:
  // Loads both libraries once; false when either or an entry point is missing.
  bool Load();

  UniqueModule ole32_;
  UniqueModule shell32_;
  Entries entries_;
  bool loaded_ = false;
};

}  // namespace platform::win32
