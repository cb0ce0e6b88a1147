// The events a dialog's portable logic handles. One generic Win32 window
// (platform/win32/logic_dialog.h) translates a dialog's messages into these
// calls, so pages and child dialogs add logic and a resource, not a window type.
#pragma once

namespace platform {

constexpr int kBnClicked = 0;
constexpr int kCbnSelChange = 1;

class DialogLogic {
 public:
  virtual ~DialogLogic() = default;
  // WM_INITDIALOG, once the controls exist.
  virtual void OnInit() {}
  // The control that has the focus when the dialog opens; 0 leaves it to the
  // system, which gives it to the first tab stop.
  virtual int InitialFocus() const { return 0; }
  // WM_PAINT, before the default painting.
  virtual void OnPaint() {}
  // WM_COMMAND from a control with its notification code; false leaves it to
  // the default handling (OK and Cancel end the dialog).
  virtual bool OnCommand(int /*id*/, int /*notification*/) { return false; }
  // WM_HSCROLL or WM_VSCROLL from a control (its id), before the default handling.
  virtual void OnScroll(int /*controlId*/) {}
  // WM_TIMER.
  virtual void OnTimer(unsigned /*id*/) {}
  // WM_DESTROY.
  virtual void OnDestroy() {}
};

}  // namespace platform
