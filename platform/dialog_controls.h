// What a dialog's logic may do with its own controls and window. The Win32
// implementation works on one dialog window; tests use a recording replacement.
// Control ids are the resource ids of the program's resource.h.
#pragma once

#include <cstddef>
#include <string>

namespace platform {

constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

constexpr unsigned kMbOk = 0x0;
constexpr unsigned kMbYesNoCancel = 0x3;
constexpr unsigned kMbYesNo = 0x4;
constexpr unsigned kMbIconHand = 0x10;
constexpr unsigned kMbIconQuestion = 0x20;
constexpr unsigned kMbIconExclamation = 0x30;  // also MB_ICONWARNING
constexpr unsigned kMbIconWarning = 0x30;
constexpr unsigned kMbIconInformation = 0x40;

class DialogControls {
 public:
  virtual ~DialogControls() = default;

  // CB_GETCURSEL: the selected item index, -1 without a selection.
  virtual int GetComboSelection(int id) = 0;
  // CB_SETCURSEL: selects item index; an index that is no item clears the selection.
  virtual void SetComboSelection(int id, int index) = 0;
  // BM_GETCHECK == BST_CHECKED.
  virtual bool IsChecked(int id) = 0;
  // BM_SETCHECK.
  virtual void SetChecked(int id, bool checked) = 0;
  // EnableWindow of the control.
  virtual void EnableControl(int id, bool enabled) = 0;
  // ShowWindow of the control (SW_SHOW / SW_HIDE).
  virtual void ShowControl(int id, bool visible) = 0;
  // SetWindowTextA of the control.
  virtual void SetControlText(int id, const std::string& text) = 0;
  // GetWindowTextA of the control.
  virtual std::string GetControlText(int id) = 0;
  // WM_NEXTDLGCTL(previous, FALSE): focus to the previous or next tab stop.
  virtual void MoveFocus(bool previous) = 0;
  // LoadStringA from the program's string table; empty when missing.
  virtual std::string LoadString(int stringId) = 0;
  // MessageBoxA owned by the dialog with the texts of two string ids; returns the answer.
  virtual int ShowMessage(int textId, int captionId, unsigned style) = 0;
  // SetTimer(dialog, id, periodMs, NULL).
  virtual void StartTimer(unsigned id, unsigned periodMs) = 0;
  // KillTimer(dialog, id).
  virtual void StopTimer(unsigned id) = 0;
  // InvalidateRect(dialog, NULL, TRUE).
  virtual void InvalidateDialog() = 0;
  // EndDialog(dialog, result).
  virtual void EndDialog(int result) = 0;
};

}  // namespace platform
