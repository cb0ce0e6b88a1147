#include "padtool/capture/direction_capture_dialog.h"

#include <cstdio>
#include <utility>

#include "padtool/input/control_reading.h"
#include "padtool/resources/resource.h"

namespace padtool {

namespace {

constexpr std::int32_t kProbeThreshold = 63;
constexpr InputCode kButtonCount = 32;

// Above 63 reports the code, below -63 the code negated.
std::optional<InputCode> ProbeAxis(std::int32_t value, InputCode code) {
  if (value > kProbeThreshold) return code;
  if (value < -kProbeThreshold) return -code;
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
  for (InputCode axis = kXAxis; axis <= kRzAxis; ++axis) {
    if (auto code = ProbeAxis(AxisReading(state, axis), axis)) return code;
  }
  if (sliderEnabled) {
    for (InputCode slider = kFirstSlider; slider <= kSecondSlider; ++slider) {
      if (auto code = ProbeAxis(AxisReading(state, slider), slider)) return code;
    }
  }
  if (hatSwitchesEnabled) {
    for (int hat = 0; hat < 2; ++hat) {
      const std::uint32_t angle = state.rgdwPOV[hat];
      if (IsCentred(angle)) continue;
      if (auto direction = NarrowSectorOf(angle)) return HatCodeTowards(hat, *direction);
    }
  }
  for (InputCode button = 1; button < kButtonCount; ++button) {
    if (BitHeld(input.held, button)) return button;
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
