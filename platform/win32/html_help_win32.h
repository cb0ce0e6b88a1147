// HtmlHelp through hhctrl.ocx, loaded on first use and kept loaded while the
// object lives (the viewer window needs the module).
#pragma once

#include <windows.h>

#include "platform/html_help.h"
#include "platform/win32/handles.h"

namespace platform::win32 {

class Win32HtmlHelp : public HtmlHelp {
 public:
  bool Initialize(std::uint32_t* cookie) override;
  bool DisplayTopic(WindowId owner, const char* file) override;

 private:
  using HtmlHelpProc = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
  // Loads hhctrl.ocx and finds HtmlHelpA once; null when either fails.
  HtmlHelpProc Proc();

  UniqueModule module_;
  HtmlHelpProc proc_ = nullptr;
};

}  // namespace platform::win32
