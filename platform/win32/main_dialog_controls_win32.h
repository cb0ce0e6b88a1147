// MainDialogControls on a real dialog window, with the program icon it sets.
#pragma once

#include <windows.h>

#include "platform/main_dialog_controls.h"
#include "platform/win32/win32_dialog_controls.h"

namespace platform::win32 {

class Win32MainDialogControls : public Win32DialogControls, public MainDialogControls {
 public:
  Win32MainDialogControls(HINSTANCE instance, HICON icon) : Win32DialogControls(instance, nullptr), icon_(icon) {}

  WindowId DialogWindow() override;
  WindowId ControlWindow(int id) override;
  bool HasSystemMenu() override;
  void AppendSystemMenuSeparator() override;
  void AppendSystemMenuItem(unsigned command, const std::string& text) override;
  void DeleteSystemMenuCommand(unsigned command) override;
  void SetWindowIcon(bool big) override;
  void InsertTab(int tabControlId, int index, const std::string& text) override;
  int GetTabSelection(int tabControlId) override;
  void RunModalDialog(int dialogId) override;

 private:
  HICON icon_;
};

}  // namespace platform::win32
