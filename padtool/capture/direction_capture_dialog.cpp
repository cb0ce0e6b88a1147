#include "padtool/capture/direction_capture_dialog.h"

#include <cstdio>
#include <utility>

#include "padtool/resources/resource.h"

namespace padtool {

namespace {

constexpr std::int32_t kProbeThreshold = 63;
constexpr unsigned kButtonCount = 32;

// Above 63 reports the code, below -63 the code negated.
std::optional<InputCode> ProbeAxis(std::int32_t value, InputCode code) {
  if (value > kProbeThreshold) return code;
  if (value < -kProbeThreshold) return -code;
  return std::nullopt;
}

// Up, down, right or left of a hat as its probe code; the exact diagonals
// 4500, 13500, 22500 and 31500 match nothing. The second hat's vertical half
// counts up as positive.
std::optional<InputCode> ProbeHat(std::uint32_t angle, InputCode horizontal, InputCode vertical, bool upPositive) {
  if (angle == kHatCentred) return std::nullopt;
  const InputCode up = upPositive ? vertical : -vertical;
  if (angle < 4500 || (angle > 31500 && angle <= 36000)) return up;
  if (angle > 13500 && angle < 22500) return -up;
  if (angle > 4500 && angle < 13500) return horizontal;
  if (angle > 22500 && angle < 31500) return -horizontal;
  return std::nullopt;
}

// Up and left are stored with the sense of down and right: an axis or hat
// code is negated, a button code kept.
InputCode TowardsDownOrRight(InputCode probed) { return probed >= kXAxis || probed <= -kXAxis ? -probed : probed; }

}  // namespace

DirectionCaptureDialog::DirectionCaptureDialog(platform::DialogControls& controls, platform::DebugOutput& debug,
                                               std::string caption, bool hatSwitchesEnabled, bool sliderEnabled)
    : controls_(controls),
      debug_(debug),
      caption_(std::move(caption)),
      hatSwitchesEnabled_(hatSwitchesEnabled),
      sliderEnabled_(sliderEnabled) {}

std::optional<InputCode> DirectionCaptureDialog::ProbeControl(const PadInputState& input,
                                                              const platform::JoyState2& state,
                                                              bool hatSwitchesEnabled, bool sliderEnabled) {
  if ((input.pressed & 1u) == 0) return std::nullopt;
  const std::int32_t axes[] = {state.lX, state.lY, state.lZ, state.lRx, state.lRy, state.lRz};
  for (int i = 0; i < 6; ++i) {
    if (auto code = ProbeAxis(axes[i], kXAxis + i)) return code;
  }
  if (sliderEnabled) {
    for (int i = 0; i < 2; ++i) {
      if (auto code = ProbeAxis(state.rglSlider[i], kFirstSlider + i)) return code;
    }
  }
  if (hatSwitchesEnabled) {
    if (auto code = ProbeHat(state.rgdwPOV[0], kFirstHatHorizontal, kFirstHatVertical, false)) return code;
    if (auto code = ProbeHat(state.rgdwPOV[1], kSecondHatHorizontal, kSecondHatVertical, true)) return code;
  }
  for (unsigned bit = 1; bit < kButtonCount; ++bit) {
    if ((input.held & (std::uint64_t{1} << bit)) != 0) return static_cast<InputCode>(bit);
  }
  return std::nullopt;
}

void DirectionCaptureDialog::OnInit() {
  step_ = 0;
  up_ = down_ = right_ = left_ = 0;
  controls_.SetControlText(IDC_CAPTURE_CAPTION, caption_);
  controls_.SetControlText(IDC_CAPTURE_INSTRUCTION, instruction_);
  controls_.StartTimer(kPadTimerId, kPadTimerPeriodMs);
}

void DirectionCaptureDialog::ShowInstruction(int stringId) {
  instruction_ = controls_.LoadString(stringId);
  controls_.SetControlText(IDC_CAPTURE_INSTRUCTION, instruction_);
}

void DirectionCaptureDialog::OnTimer(unsigned id) {
  if (id != kPadTimerId) return;
  char trace[40];
  std::snprintf(trace, sizeof trace, "phase=%d Stop=%d\n", step_, pause_ ? 1 : 0);
  debug_.Write(trace);

  PadDevice* device = ActivePadDevice();
  if (device == nullptr || pause_) return;
  device->Update();

  std::optional<InputCode> probed;
  if (step_ % 2 == 1) {
    probed = ProbeControl(device->Input(), device->State(), hatSwitchesEnabled_, sliderEnabled_);
    if (!probed) return;
  }
  switch (step_) {
    case 0:
      ShowInstruction(IDS_HOLD_UP);
      break;
    case 1:
      up_ = TowardsDownOrRight(*probed);
      break;
    case 2:
      ShowInstruction(IDS_HOLD_DOWN);
      break;
    case 3:
      down_ = *probed;
      break;
    case 4:
      ShowInstruction(IDS_HOLD_RIGHT);
      break;
    case 5:
      right_ = *probed;
      break;
    case 6:
      ShowInstruction(IDS_HOLD_LEFT);
      break;
    case kLastStep:
      left_ = TowardsDownOrRight(*probed);
      controls_.StopTimer(kPadTimerId);
      controls_.EndDialog(platform::kIdOk);
      return;
    default:
      return;
  }
  ++step_;
}

}  // namespace padtool
