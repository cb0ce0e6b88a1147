// Enter and Esc inside the modeless child dialogs (tab pages) of a modal
// dialog. The modal dialog's message loop hands every key to IsDialogMessage
// of the modal dialog itself, which would make Enter and Esc its OK and Cancel
// whatever page has the focus. The router sees those keys first, through the
// dialog message filter hook of the thread, and sends them where each child
// wants them: to the modal dialog as its OK and Cancel, or to the child's own
// dialog handling. A control that wants the key itself (an open drop-down
// list) keeps it. All other keys are left to the modal dialog.
#pragma once

#include <windows.h>

#include <utility>
#include <vector>

namespace platform::win32 {

class DialogKeyRouter {
 public:
  // Hooks the calling thread's dialog message filter for the modal dialog.
  explicit DialogKeyRouter(HWND dialog);
  ~DialogKeyRouter();
  DialogKeyRouter(const DialogKeyRouter&) = delete;
  DialogKeyRouter& operator=(const DialogKeyRouter&) = delete;

  // A child dialog; ownDialogKeys: Enter and Esc go to its own dialog
  // handling (IsDialogMessage of the child), else to the modal dialog.
  void AddChild(HWND child, bool ownDialogKeys);
  // Forgets a child whose window is being destroyed.
  void RemoveChild(HWND child);

 private:
  static LRESULT CALLBACK Filter(int code, WPARAM wParam, LPARAM lParam) noexcept;
  bool Route(MSG& message);

  HWND dialog_;
  HHOOK hook_ = nullptr;
  DialogKeyRouter* previous_ = nullptr;
  std::vector<std::pair<HWND, bool>> children_;
  bool routing_ = false;
};

}  // namespace platform::win32
