// HtmlHelp through hhctrl.ocx, loaded on first use and kept loaded while the
// object lives (the viewer window needs the module).
#pragma once

#include <windows.h>

#include "platform/html_help.h"
#include "platform/win32/handles.h"

namespace platform::win32 {

class Win32HtmlHelp : public HtmlHelp {
 public:
  std::uintptr_t Show(std::uintptr_t ownerWindow, const char* file, unsigned command, std::uintptr_t data) override;

 private:
  using HtmlHelpProc = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
  UniqueModule module_;
  HtmlHelpProc proc_ = nullptr;
};

}  // namespace platform::win32
