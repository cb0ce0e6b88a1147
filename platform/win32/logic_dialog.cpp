#include "platform/win32/logic_dialog.h"

namespace platform::win32 {

LogicDialog::LogicDialog(HINSTANCE instance, int dialogId, Win32DialogControls& controls, DialogLogic& logic)
    : DialogBase(instance, dialogId), controls_(controls), logic_(logic) {
  OnMessage(WM_PAINT, [this](WPARAM, LPARAM) -> INT_PTR {
    logic_.OnPaint();
    return FALSE;  // the dialog manager paints
  });
  OnMessage(WM_COMMAND, [this](WPARAM wParam, LPARAM) -> INT_PTR {
    int id = LOWORD(wParam);
    int notification = HIWORD(wParam);
    if (logic_.OnCommand(id, notification)) return TRUE;
    if ((id == IDOK || id == IDCANCEL) && notification == BN_CLICKED) {
      OnOkOrCancel(id);
      return TRUE;
    }
    return FALSE;
  });
  auto scroll = [this](WPARAM, LPARAM lParam) -> INT_PTR {
    HWND control = reinterpret_cast<HWND>(lParam);
    logic_.OnScroll(control != nullptr ? GetDlgCtrlID(control) : 0);
    return FALSE;
  };
  OnMessage(WM_HSCROLL, scroll);
  OnMessage(WM_VSCROLL, scroll);
  OnMessage(WM_TIMER, [this](WPARAM wParam, LPARAM) -> INT_PTR {
    logic_.OnTimer(static_cast<unsigned>(wParam));
    return FALSE;
  });
}

INT_PTR LogicDialog::OnInitDialog() {
  controls_.SetWindow(Window());
  logic_.OnInit();
  HWND focus = logic_.InitialFocus() != 0 ? GetDlgItem(Window(), logic_.InitialFocus()) : nullptr;
  if (focus == nullptr) return TRUE;
  // FALSE tells the system that the focus is set already.
  SetFocus(focus);
  return FALSE;
}

void LogicDialog::OnDestroy() { logic_.OnDestroy(); }

void LogicDialog::OnOkOrCancel(int id) { EndDialog(Window(), id); }

}  // namespace platform::win32
