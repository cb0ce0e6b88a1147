// Own module file name and WinExec starts: kernel32 only, so that the
// launcher stub links nothing else.
#include <windows.h>

#include "platform/win32/system_win32.h"

namespace platform::win32 {

bool Win32ModuleInfo::HasOwnModule() { return GetModuleHandleA(nullptr) != nullptr; }

std::size_t Win32ModuleInfo::GetOwnFileName(char* buffer, std::size_t size) {
  HMODULE module = GetModuleHandleA(nullptr);
  if (module == nullptr || size == 0) return 0;
  DWORD copied = GetModuleFileNameA(module, buffer, static_cast<DWORD>(size));
  // XP leaves a truncated name unterminated; treat truncation as failure.
  if (copied == 0 || copied >= size) return 0;
  return copied;
}

unsigned Win32CommandStarter::StartCommand(const char* commandLine, int showCommand) {
  return WinExec(commandLine, static_cast<UINT>(showCommand));
}

}  // namespace platform::win32
