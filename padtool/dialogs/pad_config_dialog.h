// The logic of the gamepad tool's main dialog (resource 102): the 15 function
// combo boxes, option check boxes, predefined setups, capture and test
// buttons, help, the 80 ms controller tick with gamepad navigation and
// assignment, and the save-on-close path. The Win32 window translates
// messages into these calls; everything reaches the system through the
// platform interfaces.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "padtool/assignment/pad_assignment.h"
#include "padtool/assignment/pad_settings_store.h"
#include "padtool/dialogs/pad_child_dialogs.h"
#include "padtool/input/pad_device.h"
#include "platform/dialog_controls.h"
#include "platform/direct_input.h"
#include "platform/html_help.h"
#include "platform/module_info.h"
#include "platform/registry.h"
#include "platform/window_finder.h"

namespace padtool {

constexpr char kPlatformWindowClass[] = "OrbinetUS";
constexpr std::size_t kHelpPathSize = 260;

struct ButtonHelp {
  int id;
  int helpString;
};
// The ten push buttons that report focus loss, with their help strings; id 0 ends it.
constexpr std::array<ButtonHelp, 11> kButtonHelpTable = {{{1006, 115},
                                                          {1007, 116},
                                                          {1008, 117},
                                                          {1033, 124},
                                                          {1012, 118},
                                                          {1013, 119},
                                                          {1035, 137},
                                                          {1014, 120},
                                                          {1031, 121},
                                                          {1, 122},
                                                          {0, 0}}};

// The help string of a ButtonHelpTable button, 0 for any other id.
int ButtonHelpString(int id);

struct PadConfigServices {
  platform::DialogControls& controls;
  platform::Registry& registry;
  platform::WindowFinder& windows;
  platform::ModuleInfo& module;
  platform::HtmlHelp& help;
  platform::DirectInputProvider& directInput;
  PadChildDialogs& children;
};

class PadConfigDialog {
 public:
  static constexpr int kNoTarget = -1;

  explicit PadConfigDialog(const PadConfigServices& services);
  ~PadConfigDialog();
  PadConfigDialog(const PadConfigDialog&) = delete;
  PadConfigDialog& operator=(const PadConfigDialog&) = delete;

  // WM_INITDIALOG after the combo boxes are filled, the system menu and the
  // icons are set: timer, device, settings, check boxes, enable state.
  void Initialise(platform::WindowId window, platform::ModuleToken instance);
  // WM_DESTROY: releases the device.
  void Destroy();

  // WM_TIMER (any id).
  void OnTimer();

  // Function combo box notifications (CBN_SETFOCUS, CBN_SELCHANGE, CBN_KILLFOCUS).
  void OnFunctionFocus(int comboId);
  void OnFunctionSelectionChanged(int comboId);
  void OnFunctionFocusLost(int comboId);
  // A reporting push button or the dialog itself lost the focus to the
  // control `receiverId` (0 when the focus left the dialog's controls).
  void OnFocusLeaving(int receiverId);

  // BN_CLICKED of a control (check boxes, setups, capture, test, help).
  void OnClicked(int id);
  // OK, Enter, Cancel, Esc and the close box.
  void OnOk();
  // WM_SYSCOMMAND; true when handled (the About entry, 0x10).
  bool OnSystemCommand(unsigned command);

  // Keys that the dialog window itself swallows: B and numeric keypad 2.
  static bool SwallowsKeyDown(unsigned virtualKey);
  static bool SwallowsCharacter(unsigned character);

  const PadAssignment& Record() const { return record_; }
  int PendingTarget() const { return pendingTarget_; }
  int TrackedControl() const { return trackedControl_; }
  const std::string& StatusText() const { return statusText_; }
  bool Busy() const { return busy_ != 0; }
  bool SilentSave() const { return silentSave_ != 0; }
  // The OK path has ended the dialog.
  bool Closed() const { return closed_; }
  PadDevice* Device() const { return device_.get(); }

 private:
  void ShowStatus(int stringId);
  void ApplyEnableState(bool copyControls);
  void CopyControlsToRecord();
  void ResolveCombo(int comboId);
  void AssignPressedButton(std::uint64_t pressed);
  void ActOnTrackedControl();
  // The action of a capture, setup or test button (click or gamepad Button 1).
  void RunButtonAction(int id);
  void Capture(DirectionGroup group);
  void ApplyPredefinedSetup(PredefinedSetup setup);
  void RunGamepadTest();
  void RunAbout();
  // Sets the busy flag around a modal child and puts back what it was: the OK
  // path can run inside a child, and its question must not clear the flag.
  template <typename Child>
  void WhileBusy(Child&& child);
  void ShowHelp();

  PadConfigServices services_;
  PadSettingsStore store_;
  PadAssignment record_;
  std::string statusText_;
  int pendingTarget_ = static_cast<int>(IndexOf(PadFunction::SelectConfirm));
  int trackedControl_ = 1003;
  std::uint8_t busy_ = 0;
  std::uint8_t silentSave_ = 0;
  bool closed_ = false;
  platform::WindowId window_ = 0;
  std::unique_ptr<PadDevice> device_;
};

}  // namespace padtool
