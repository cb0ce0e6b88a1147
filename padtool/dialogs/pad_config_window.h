// The Win32 side of the main dialog (resource 102): fills the combo boxes,
// adds the About entry to the system menu, sets the icons, filters the B and
// numeric-keypad-2 keys aimed at the dialog window, paints the minimised icon,
// and translates messages and notifications into PadConfigDialog calls.
#pragma once

#include <windows.h>

#include "padtool/dialogs/pad_config_dialog.h"
#include "platform/win32/dialog_base.h"
#include "platform/win32/win32_dialog_controls.h"

namespace padtool::win32 {

// What the main dialog reaches besides its own controls.
struct PadWindowServices {
  platform::Registry& registry;
  platform::WindowFinder& windows;
  platform::ModuleInfo& module;
  platform::HtmlHelp& help;
  platform::DirectInputProvider& directInput;
  PadChildDialogs& children;
};

class PadConfigWindow : public platform::win32::DialogBase {
 public:
  PadConfigWindow(HINSTANCE instance, const PadWindowServices& services);
  ~PadConfigWindow() override;

 private:
  INT_PTR OnInitDialog() override;
  void OnDestroy() override;
  void FillFunctionCombos();
  void AddAboutToSystemMenu();
  // The dialog control id of a window, 0 when it is no control of this dialog.
  int ControlIdOf(HWND window) const;
  INT_PTR PaintMinimised();
  static LRESULT CALLBACK KeyFilter(int code, WPARAM wParam, LPARAM lParam);

  platform::win32::Win32DialogControls controls_;
  PadConfigDialog logic_;
  HICON icon_;
  HICON smallIcon_;
  HHOOK keyFilter_ = nullptr;
};

}  // namespace padtool::win32
