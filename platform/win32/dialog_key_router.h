// Keys inside the modeless child dialogs (tab pages) of a modal dialog. The
// modal dialog's message loop hands every key to IsDialogMessage of the modal
// dialog itself, which knows nothing of the children: its Tab would run
// round its own controls, its Enter and Esc would be its OK and Cancel
// whatever child has the focus. The router sees each key first, through the
// dialog message filter hook of the thread, and sends it where
// platform::RouteDialogKey says: to the child's own dialog handling, to the
// modal dialog's OK and Cancel, into the visible child, or to the next tab.
#pragma once

#include <windows.h>

#include <vector>

#include "platform/dialog_keys.h"

namespace platform::win32 {

class DialogKeyRouter {
 public:
  // Hooks the calling thread's dialog message filter for the modal dialog,
  // whose tab control tabHost hosts the child dialogs.
  DialogKeyRouter(HWND dialog, HWND tabHost);
  ~DialogKeyRouter();
  DialogKeyRouter(const DialogKeyRouter&) = delete;
  DialogKeyRouter& operator=(const DialogKeyRouter&) = delete;

  // A child dialog; leavesEnterEscToDialog: its Enter and Esc are the modal
  // dialog's OK and Cancel, else its own dialog handling takes them.
  void AddChild(HWND child, bool leavesEnterEscToDialog);
  // Forgets a child whose window is being destroyed.
  void RemoveChild(HWND child);

 private:
  struct Child {
    HWND window;
    bool leavesEnterEscToDialog;
  };

  static LRESULT CALLBACK Filter(int code, WPARAM wParam, LPARAM lParam) noexcept;
  bool Route(MSG& message);
  const Child* ChildHolding(HWND window) const;
  bool FocusVisibleChild();
  void SelectAdjacentTab(bool backwards);

  HWND dialog_;
  HWND tabHost_;
  HHOOK hook_ = nullptr;
  DialogKeyRouter* previous_ = nullptr;
  std::vector<Child> children_;
  bool routing_ = false;
};

}  // namespace platform::win32
