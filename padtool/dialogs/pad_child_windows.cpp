#include "padtool/dialogs/pad_child_windows.h"

#include "padtool/capture/capture_confirm_dialog.h"
#include "padtool/dialogs/about_dialog.h"
#include "padtool/capture/direction_capture_dialog.h"
#include "padtool/dialogs/gamepad_test_dialog.h"
#include "padtool/resources/resource.h"
#include "platform/win32/drawing_win32.h"
#include "platform/win32/logic_dialog.h"
#include "platform/win32/win32_dialog_controls.h"

namespace padtool::win32 {

namespace {

struct CancelContext {
  HWND owner;
};

// Every dialog that the main dialog owns: the open children and message boxes,
// nested in each other's modal loops. Each loop ends when control gets back to
// it, innermost first. The help viewer's windows belong to the viewer.
BOOL CALLBACK CancelDialog(HWND window, LPARAM context) {
  const auto* cancel = reinterpret_cast<const CancelContext*>(context);
  char className[16] = {};
  if (GetWindow(window, GW_OWNER) == cancel->owner && GetClassNameA(window, className, sizeof className) > 0 &&
      lstrcmpA(className, "#32770") == 0) {
    EndDialog(window, IDCANCEL);
  }
  return TRUE;
}

}  // namespace

using platform::win32::LogicDialog;
using platform::win32::Win32DialogControls;
using platform::win32::Win32WindowDrawing;

std::optional<CapturedDirections> PadChildWindows::CaptureDirections(int headingStringId, bool hatSwitchesEnabled,
                                                                     bool sliderEnabled, bool menusMode) {
  CapturedDirections codes{};
  if (cancelled_) return std::nullopt;
  {
    Win32DialogControls controls(instance_, nullptr);
    DirectionCaptureDialog wizard(controls, debug_, platform::win32::LoadResourceString(instance_, headingStringId),
                                  hatSwitchesEnabled, sliderEnabled);
    LogicDialog window(instance_, IDD_DIRECTION_CAPTURE, controls, wizard);
    if (window.RunModal(Owner()) != IDOK) return std::nullopt;
    codes = wizard.Captured();
  }
  // The main dialog closed while the wizard was open.
  if (cancelled_) return std::nullopt;
  Win32DialogControls controls(instance_, nullptr);
  Win32WindowDrawing drawing(controls);
  CaptureConfirmDialog confirm(controls, drawing, codes, menusMode);
  LogicDialog window(instance_, IDD_CAPTURE_CONFIRM, controls, confirm);
  if (window.RunModal(Owner()) != IDOK) return std::nullopt;
  return codes;
}

void PadChildWindows::RunGamepadTest(const GamepadTestInput& input) {
  if (cancelled_) return;
  Win32DialogControls controls(instance_, nullptr);
  Win32WindowDrawing drawing(controls);
  GamepadTestDialog test(controls, drawing, input);
  LogicDialog window(instance_, IDD_GAMEPAD_TEST, controls, test);
  window.RunModal(Owner());
}

void PadChildWindows::RunAbout() {
  if (cancelled_) return;
  AboutDialog about(instance_);
  about.RunModal(Owner());
}

void PadChildWindows::CancelOpenDialogs() {
  cancelled_ = true;
  CancelContext context{Owner()};
  if (context.owner == nullptr) return;
  EnumThreadWindows(GetCurrentThreadId(), &CancelDialog, reinterpret_cast<LPARAM>(&context));
}

}  // namespace padtool::win32
