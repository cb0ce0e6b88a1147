// Shell on shell32 and ole32: SHGetSpecialFolderLocation, SHGetDesktopFolder,
// CoCreateInstance of the shell link with IShellLinkA and IPersistFile.
#pragma once

#include <windows.h>

#include "platform/shell.h"

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
};

}  // namespace platform::win32
