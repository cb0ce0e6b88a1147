#include "platform/win32/dialog_key_router.h"

#include <algorithm>

namespace platform::win32 {

namespace {

// The hook procedure gets no context of its own: it finds the innermost modal
// dialog with child dialogs of its thread here. A nested router restores the
// outer one when it ends.
thread_local DialogKeyRouter* activeRouter = nullptr;

}  // namespace

DialogKeyRouter::DialogKeyRouter(HWND dialog) : dialog_(dialog), previous_(activeRouter) {
  hook_ = SetWindowsHookExA(WH_MSGFILTER, &DialogKeyRouter::Filter, nullptr, GetCurrentThreadId());
  activeRouter = this;
}

DialogKeyRouter::~DialogKeyRouter() {
  if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
  activeRouter = previous_;
}

void DialogKeyRouter::AddChild(HWND child, bool ownDialogKeys) {
  if (child != nullptr) children_.emplace_back(child, ownDialogKeys);
}

void DialogKeyRouter::RemoveChild(HWND child) {
  children_.erase(std::remove_if(children_.begin(), children_.end(),
                                 [child](const std::pair<HWND, bool>& entry) { return entry.first == child; }),
                  children_.end());
}

LRESULT CALLBACK DialogKeyRouter::Filter(int code, WPARAM wParam, LPARAM lParam) noexcept {
  DialogKeyRouter* router = activeRouter;
  if (code == MSGF_DIALOGBOX && router != nullptr && lParam != 0 && router->Route(*reinterpret_cast<MSG*>(lParam))) {
    return 1;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool DialogKeyRouter::Route(MSG& message) {
  // IsDialogMessage of a child calls the filter again for the same key.
  if (routing_ || message.message != WM_KEYDOWN || (message.wParam != VK_RETURN && message.wParam != VK_ESCAPE)) {
    return false;
  }
  for (const auto& [child, ownDialogKeys] : children_) {
    if (message.hwnd != child && !IsChild(child, message.hwnd)) continue;
    LRESULT wanted = SendMessageA(message.hwnd, WM_GETDLGCODE, message.wParam, reinterpret_cast<LPARAM>(&message));
    if (wanted & DLGC_WANTMESSAGE) return false;
    routing_ = true;
    if (ownDialogKeys) {
      IsDialogMessageA(child, &message);
    } else {
      int command = message.wParam == VK_RETURN ? IDOK : IDCANCEL;
      SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(dialog_, command)));
    }
    routing_ = false;
    return true;
  }
  return false;
}

}  // namespace platform::win32
