// The direction capture wizard (dialog 134, "Directional Control Device
// Setting"): asks in turn for up, down, right and left, and records for each
// the control held while Button 1 is newly pressed. Driven by its own 80 ms
// timer, which reads the controller through the process-wide PadDevice and
// writes "phase=%d Stop=%d\n" to the debugger output on every tick.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "padtool/assignment/pad_assignment.h"
#include "padtool/dialogs/pad_child_dialogs.h"
#include "padtool/input/pad_device.h"
#include "platform/debug_output.h"
#include "platform/dialog_controls.h"
#include "platform/dialog_logic.h"

namespace padtool {

class DirectionCaptureDialog : public platform::DialogLogic {
 public:
  static constexpr int kLastStep = 7;

  DirectionCaptureDialog(platform::DialogControls& controls, platform::DebugOutput& debug, std::string caption,
                         bool hatSwitchesEnabled, bool sliderEnabled);

  // The control held while Button 1 was newly pressed in this cycle, first
  // match wins: axes, then sliders and hats when enabled, then Buttons 2..32.
  static std::optional<InputCode> ProbeControl(const PadInputState& input, const platform::JoyState2& state,
                                               bool hatSwitchesEnabled, bool sliderEnabled);

  void OnInit() override;
  void OnTimer(unsigned id) override;

  // While set, a tick does nothing after its trace line.
  void SetPause(bool pause) { pause_ = pause; }
  int Step() const { return step_; }
  const std::string& Instruction() const { return instruction_; }
  // The codes so far in capture order; 0 where nothing was captured.
  CapturedDirections Captured() const { return {up_, down_, right_, left_}; }

 private:
  void ShowInstruction(int stringId);

  platform::DialogControls& controls_;
  platform::DebugOutput& debug_;
  std::string caption_;
  std::string instruction_;
  int step_ = 0;
  InputCode up_ = 0;
  InputCode down_ = 0;
  InputCode right_ = 0;
  InputCode left_ = 0;
  bool pause_ = false;
  bool hatSwitchesEnabled_;
  bool sliderEnabled_;
};

}  // namespace padtool
