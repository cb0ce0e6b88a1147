// The generic window of a dialog whose behaviour is a platform::DialogLogic:
// it attaches the controls to the window and forwards init, paint, commands,
// scrolls, timers and destruction. Modal (RunModal) or modeless (CreateModeless).
#pragma once

#include <windows.h>

#include "platform/dialog_logic.h"
#include "platform/win32/dialog_base.h"
#include "platform/win32/win32_dialog_controls.h"

namespace platform::win32 {

class LogicDialog : public DialogBase {
 public:
  LogicDialog(HINSTANCE instance, int dialogId, Win32DialogControls& controls, DialogLogic& logic);

 protected:
  INT_PTR OnInitDialog() override;
  void OnDestroy() override;
  // OK or Cancel that the logic left alone: EndDialog with the id. A modeless
  // dialog says what closing means for it instead.
  virtual void OnOkOrCancel(int id);
  DialogLogic& Logic() { return logic_; }

 private:
  Win32DialogControls& controls_;
  DialogLogic& logic_;
};

}  // namespace platform::win32
