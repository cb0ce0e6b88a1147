#include "padtool/dialogs/pad_child_windows.h"

#include "padtool/capture/capture_confirm_dialog.h"
#include "padtool/capture/direction_capture_dialog.h"
#include "padtool/dialogs/gamepad_test_dialog.h"
#include "padtool/resources/resource.h"
#include "platform/win32/drawing_win32.h"
#include "platform/win32/logic_dialog.h"
#include "platform/win32/win32_dialog_controls.h"

namespace padtool::win32 {

using platform::win32::LogicDialog;
using platform::win32::Win32DialogControls;
using platform::win32::Win32WindowDrawing;

std::optional<CapturedDirections> PadChildWindows::CaptureDirections(int headingStringId, bool hatSwitchesEnabled,
                                                                     bool sliderEnabled, bool menusMode) {
  CapturedDirections codes{};
  {
    Win32DialogControls controls(instance_, nullptr);
    DirectionCaptureDialog wizard(controls, debug_, platform::win32::LoadResourceString(instance_, headingStringId),
                                  hatSwitchesEnabled, sliderEnabled);
    LogicDialog window(instance_, IDD_DIRECTION_CAPTURE, controls, wizard);
    if (window.RunModal(Owner()) != IDOK) return std::nullopt;
    codes = wizard.Captured();
  }
  Win32DialogControls controls(instance_, nullptr);
  Win32WindowDrawing drawing(controls);
  CaptureConfirmDialog confirm(controls, drawing, codes, menusMode);
  LogicDialog window(instance_, IDD_CAPTURE_CONFIRM, controls, confirm);
  if (window.RunModal(Owner()) != IDOK) return std::nullopt;
  return codes;
}

void PadChildWindows::RunGamepadTest(const GamepadTestInput& input) {
  Win32DialogControls controls(instance_, nullptr);
  Win32WindowDrawing drawing(controls);
  GamepadTestDialog test(controls, drawing, input);
  LogicDialog window(instance_, IDD_GAMEPAD_TEST, controls, test);
  window.RunModal(Owner());
}

}  // namespace padtool::win32
