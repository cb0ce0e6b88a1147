// PageControls on a real page window.
#pragma once

#include <windows.h>

#include "platform/page_controls.h"
#include "platform/win32/win32_dialog_controls.h"

namespace platform::win32 {

class Win32PageControls : public Win32DialogControls, public PageControls {
 public:
  explicit Win32PageControls(HINSTANCE instance) : Win32DialogControls(instance, nullptr) {}

  bool HasControl(int id) override;
  void ResetCombo(int id) override;
  int InsertComboItem(int id, int index, const std::string& text) override;
  void SetTrackbarMin(int id, int minimum, bool redraw) override;
  void SetTrackbarMax(int id, int maximum, bool redraw) override;
  void SetTrackbarPosition(int id, int position, bool redraw) override;
  int GetTrackbarPosition(int id) override;
};

}  // namespace platform::win32
