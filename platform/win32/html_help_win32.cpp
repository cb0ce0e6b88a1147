#include "platform/win32/html_help_win32.h"

namespace platform::win32 {

std::uintptr_t Win32HtmlHelp::Show(std::uintptr_t ownerWindow, const char* file, unsigned command,
                                   std::uintptr_t data) {
  if (proc_ == nullptr) {
    if (!module_) module_.reset(LoadLibraryA("hhctrl.ocx"));
    if (!module_) return 0;
    proc_ = reinterpret_cast<HtmlHelpProc>(reinterpret_cast<void*>(GetProcAddress(module_.get(), "HtmlHelpA")));
    if (proc_ == nullptr) return 0;
  }
  HWND viewer = proc_(reinterpret_cast<HWND>(ownerWindow), file, command, static_cast<DWORD_PTR>(data));
  return reinterpret_cast<std::uintptr_t>(viewer);
}

}  // namespace platform::win32
