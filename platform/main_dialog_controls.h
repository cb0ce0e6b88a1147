// What the logic of a program's main dialog may do beyond DialogControls: its
// window identity, the system menu, the window icons, a tab control and modal
// child dialogs. Tests use a recording replacement.
#pragma once

#include <string>

#include "platform/dialog_controls.h"
#include "platform/window_id.h"

namespace platform {

constexpr unsigned kScSize = 0xF000;
constexpr unsigned kScMaximize = 0xF030;
constexpr unsigned kScRestore = 0xF120;

class MainDialogControls : public virtual DialogControls {
 public:
  // The dialog's own window.
  virtual WindowId DialogWindow() = 0;
  // GetDlgItem(dialog, id); 0 when the dialog has no such control.
  virtual WindowId ControlWindow(int id) = 0;
  // GetSystemMenu(dialog, FALSE) returned a menu.
  virtual bool HasSystemMenu() = 0;
  // AppendMenuA(system menu, MF_SEPARATOR, 0, NULL).
  virtual void AppendSystemMenuSeparator() = 0;
  // AppendMenuA(system menu, MF_STRING, command, text).
  virtual void AppendSystemMenuItem(unsigned command, const std::string& text) = 0;
  // DeleteMenu(system menu, command, MF_BYCOMMAND).
  virtual void DeleteSystemMenuCommand(unsigned command) = 0;
  // WM_SETICON(ICON_BIG or ICON_SMALL) with the program icon.
  virtual void SetWindowIcon(bool big) = 0;
  // TCM_INSERTITEMA with text only (TCIF_TEXT) at index in tab control id.
  virtual void InsertTab(int tabControlId, int index, const std::string& text) = 0;
  // TCM_GETCURSEL of tab control id; -1 without a selection.
  virtual int GetTabSelection(int tabControlId) = 0;
  // DialogBoxParamA of dialog resource dialogId owned by this dialog; OK and Cancel end it.
  virtual void RunModalDialog(int dialogId) = 0;
};

}  // namespace platform
