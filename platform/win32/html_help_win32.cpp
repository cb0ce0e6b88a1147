#include "platform/win32/html_help_win32.h"

namespace platform::win32 {

Win32HtmlHelp::HtmlHelpProc Win32HtmlHelp::Proc() {
  if (proc_ != nullptr) return proc_;
  if (!module_) module_.reset(LoadLibraryA("hhctrl.ocx"));
  if (!module_) return nullptr;
  proc_ = reinterpret_cast<HtmlHelpProc>(reinterpret_cast<void*>(GetProcAddress(module_.get(), "HtmlHelpA")));
  return proc_;
}

bool Win32HtmlHelp::Initialize(std::uint32_t* cookie) {
  HtmlHelpProc proc = Proc();
  if (proc == nullptr) return false;
  DWORD value = 0;
  proc(nullptr, nullptr, kHhInitialize, reinterpret_cast<DWORD_PTR>(&value));
  if (cookie != nullptr) *cookie = value;
  return true;
}

bool Win32HtmlHelp::DisplayTopic(WindowId owner, const char* file) {
  HtmlHelpProc proc = Proc();
  if (proc == nullptr) return false;
  return proc(reinterpret_cast<HWND>(owner), file, kHhDisplayTopic, 0) != nullptr;
}

}  // namespace platform::win32
