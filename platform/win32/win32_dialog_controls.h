// DialogControls on a real dialog window.
#pragma once

#include <windows.h>

#include "platform/dialog_controls.h"

namespace platform::win32 {

class Win32DialogControls : public virtual DialogControls {
 public:
  Win32DialogControls(HINSTANCE instance, HWND dialog) : instance_(instance), dialog_(dialog) {}

  void SetWindow(HWND dialog) { dialog_ = dialog; }
  HWND Window() const { return dialog_; }

  int GetComboSelection(int id) override;
  void SetComboSelection(int id, int index) override;
  bool IsChecked(int id) override;
  void SetChecked(int id, bool checked) override;
  void EnableControl(int id, bool enabled) override;
  void ShowControl(int id, bool visible) override;
  void SetControlText(int id, const std::string& text) override;
  std::string GetControlText(int id) override;
  void MoveFocus(bool previous) override;
  std::string LoadString(int stringId) override;
  int ShowMessage(int textId, int captionId, unsigned style) override;
  void StartTimer(unsigned id, unsigned periodMs) override;
  void StopTimer(unsigned id) override;
  void InvalidateDialog() override;
  void EndDialog(int result) override;

 protected:
  HWND Item(int id) const { return GetDlgItem(dialog_, id); }
  HINSTANCE instance_;
  HWND dialog_;
};

// LoadStringA into a std::string (string resources here are short).
std::string LoadResourceString(HINSTANCE instance, int stringId);

}  // namespace platform::win32
