// What the main dialog opens as modal children: the direction capture (wizard
// and confirmation), the gamepad test and the About box. The main dialog
// brackets each call with its busy flag.
#pragma once

#include <array>
#include <optional>

#include "padtool/assignment/pad_assignment.h"

namespace padtool {

// Captured codes in the order the wizard asks for them.
struct CapturedDirections {
  InputCode up;
  InputCode down;
  InputCode right;
  InputCode left;
};

// The copy of the record the gamepad test works on.
struct GamepadTestInput {
  std::array<InputCode, 12> directions;       // Movement, Camera, Menus; each Up, Down, Left, Right
  std::array<InputCode, kFunctionCount> functions;  // storage order: entries 0..12, 25, 26
  bool forceFeedbackEnabled;
  bool sliderEnabled;
  bool hatSwitchesEnabled;
};

class PadChildDialogs {
 public:
  virtual ~PadChildDialogs() = default;
  // Runs the capture wizard with the heading string and, if it ends with OK,
  // the confirmation; the codes only when both ended with OK.
  virtual std::optional<CapturedDirections> CaptureDirections(int headingStringId, bool hatSwitchesEnabled,
                                                              bool sliderEnabled, bool menusMode) = 0;
  // Runs the gamepad test on a copy of the record; nothing comes back.
  virtual void RunGamepadTest(const GamepadTestInput& input) = 0;
  // Runs the About box (dialog 100).
  virtual void RunAbout() = 0;
  // The main dialog has closed: every open child dialog and message box of the
  // tool ends as if cancelled, and no further child opens.
  virtual void CancelOpenDialogs() = 0;
};

}  // namespace padtool
