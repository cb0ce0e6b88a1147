// The main dialog's modal children on Win32: the direction capture wizard
// (dialog 134) followed, when it ends with OK, by the confirmation (dialog
// 130), the gamepad test (dialog 135) and the About box (dialog 100). The
// first three are the generic logic window over their portable logic.
#pragma once

#include <windows.h>

#include "padtool/dialogs/pad_child_dialogs.h"
#include "platform/win32/debug_output_win32.h"
#include "platform/win32/dialog_base.h"

namespace padtool::win32 {

class PadChildWindows : public PadChildDialogs {
 public:
  explicit PadChildWindows(HINSTANCE instance) : instance_(instance) {}

  // The dialog that owns the children; its window is read when a child opens.
  void SetOwner(const platform::win32::DialogBase& owner) { owner_ = &owner; }

  std::optional<CapturedDirections> CaptureDirections(int headingStringId, bool hatSwitchesEnabled,
                                                      bool sliderEnabled, bool menusMode) override;
  void RunGamepadTest(const GamepadTestInput& input) override;
  void RunAbout() override;
  void CancelOpenDialogs() override;

 private:
  HWND Owner() const { return owner_ != nullptr ? owner_->Window() : nullptr; }

  HINSTANCE instance_;
  const platform::win32::DialogBase* owner_ = nullptr;
  platform::win32::Win32DebugOutput debug_;
  bool cancelled_ = false;
};

}  // namespace padtool::win32
