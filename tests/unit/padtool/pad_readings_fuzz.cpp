// Fuzzes the three ways a control is read by input code: the capture probe,
// the confirmation preview and the gamepad test readings, each with any
// DIJOYSTATE2-shaped state, any held and pressed masks, any codes and flags;
// then one tick of the confirmation and of the gamepad test over the same
// state through a published device. Every result is checked against what it
// may be; a mismatch traps.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "padtool/capture/capture_confirm_dialog.h"
#include "padtool/capture/capture_preview.h"
#include "padtool/capture/direction_capture_dialog.h"
#include "padtool/dialogs/gamepad_test_dialog.h"
#include "padtool/dialogs/gamepad_test_readings.h"
#include "padtool/input/control_reading.h"
#include "tests/fakes/fake_dialog_controls.h"
#include "tests/fakes/fake_drawing.h"
#include "tests/unit/padtool/live_pad.h"

namespace {

using padtool::InputCode;

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

// Mostly codes that name something, now and then any 32-bit value.
InputCode AnyCode(FuzzedDataProvider& in) {
  if (in.ConsumeBool()) return in.ConsumeIntegral<InputCode>();
  return in.ConsumeIntegralInRange<InputCode>(-45, 45);
}

std::uint32_t AnyHat(FuzzedDataProvider& in) {
  switch (in.ConsumeIntegralInRange(0, 2)) {
    case 0: return padtool::kHatCentred;
    case 1: return in.ConsumeIntegralInRange<std::uint32_t>(0, 36001);
    default: return in.ConsumeIntegral<std::uint32_t>();
  }
}

platform::JoyState2 AnyState(FuzzedDataProvider& in) {
  platform::JoyState2 state{};
  const bool extremes = in.ConsumeBool();
  for (std::int32_t* axis : {&state.lX, &state.lY, &state.lZ, &state.lRx, &state.lRy, &state.lRz,
                             &state.rglSlider[0], &state.rglSlider[1]}) {
    *axis = extremes ? in.ConsumeIntegral<std::int32_t>() : in.ConsumeIntegralInRange<std::int32_t>(-127, 127);
  }
  for (std::uint32_t& hat : state.rgdwPOV) hat = AnyHat(in);
  for (std::uint8_t& button : state.rgbButtons) button = in.ConsumeIntegral<std::uint8_t>();
  return state;
}

bool IsFullOrNothing(std::int32_t value) { return value == 0 || value == 127 || value == -127; }

void CheckProbe(const std::optional<InputCode>& code, const padtool::PadInputState& input,
                const platform::JoyState2& state, bool hats, bool slider) {
  if ((input.pressed & 1u) == 0) {
    Check(!code.has_value());
    return;
  }
  if (!code) return;
  const InputCode c = *code;
  if (padtool::IsAxisCode(c)) {
    Check(slider || !padtool::IsSliderCode(c));
    // Above 63 reports the code, below -63 its negation (the raw value may be
    // the most negative one, which has no positive counterpart).
    const std::int32_t raw = padtool::AxisReading(state, c < 0 ? -c : c);
    Check(c > 0 ? raw > 63 : raw < -63);
  } else if (padtool::IsHatCode(c)) {
    Check(hats);
    const std::uint32_t angle = padtool::HatValue(state, c);
    // Every narrow sector lies inside the wide one of the same direction.
    Check(!padtool::IsCentred(angle));
    Check(padtool::InWideSector(angle, padtool::PositiveDirection(c), padtool::UpSectorEdges::Excluded));
  } else {
    Check(c >= 1 && c <= 31 && padtool::BitHeld(input.held, c));
  }
}

// A preview coordinate is the push of a hat or button, nothing, or the
// reading of one of the two codes that drive it.
bool PreviewCoordinateFits(std::int32_t value, InputCode first, InputCode second, const platform::JoyState2& state) {
  if (IsFullOrNothing(value)) return true;
  for (InputCode code : {first, second}) {
    if (padtool::IsAxisCode(code) && padtool::AxisReading(state, code) == value) return true;
  }
  return false;
}

void CheckReadings(const padtool::TestReadings& read, FuzzedDataProvider& in, const platform::JoyState2& state,
                   std::uint64_t mask, bool slider, bool hats) {
  for (int i = 0; i < 4; ++i) {
    const InputCode first = AnyCode(in);
    const InputCode second = AnyCode(in);
    const std::int32_t held = read.Held(first);
    Check(held == 0 || held == 127);
    // Bits 36..63 never come from a device, but a mask that has them reads them.
    Check((held != 0) == (padtool::BitHeld(mask, first) && !padtool::IsAxisCode(first)));
    const std::int32_t axis = read.Axis(second);
    if (padtool::IsHatCode(second)) {
      Check(IsFullOrNothing(axis));
      Check(hats || axis == 0);
    } else if (padtool::IsAxisCode(second)) {
      Check(axis == ((padtool::IsSliderCode(second) && !slider) ? 0 : padtool::AxisReading(state, second)));
    } else {
      Check(axis == 0);
    }
    if (second != INT32_MIN) {
      const std::int32_t inverted = read.Axis(-second);
      Check(static_cast<std::uint32_t>(inverted) == 0u - static_cast<std::uint32_t>(axis));
    }
    const std::int32_t pair = read.Pair(first, second);
    Check(pair == axis || (axis == 0 && IsFullOrNothing(pair)));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const platform::JoyState2 state = AnyState(in);
  padtool::PadInputState input;
  input.held = in.ConsumeIntegral<std::uint64_t>();
  input.pressed = in.ConsumeIntegral<std::uint64_t>();
  const bool hats = in.ConsumeBool();
  const bool slider = in.ConsumeBool();

  CheckProbe(padtool::DirectionCaptureDialog::ProbeControl(input, state, hats, slider), input, state, hats, slider);

  const padtool::CapturedDirections codes{AnyCode(in), AnyCode(in), AnyCode(in), AnyCode(in)};
  const padtool::MarkerPosition preview = padtool::PreviewPosition(codes, state, input.held);
  Check(PreviewCoordinateFits(preview.x, codes.right, codes.left, state));
  Check(PreviewCoordinateFits(preview.y, codes.up, codes.down, state));

  const padtool::TestReadings read(state, input.held, slider, hats);
  CheckReadings(read, in, state, input.held, slider, hats);

  // One tick of each dialog over the same state, read through the device. The
  // two controllers (with and without force feedback) are set up once; each
  // input starts them from empty masks, so a run depends on its input alone.
  static padtool_test::LivePad* const kPads[2] = {new padtool_test::LivePad(false), new padtool_test::LivePad(true)};
  padtool_test::LivePad& live = *kPads[in.ConsumeBool() ? 1 : 0];
  live.system.logging = false;
  padtool::PublishPadDevice(&live.device);
  live.input = padtool::PadInputState();
  live.pad.state = state;
  fakes::FakeDialogControls controls;
  fakes::FakeWindowDrawing drawing;
  drawing.contextAvailable = in.ConsumeBool();
  padtool::MarkerPosition lastDrawn{in.ConsumeIntegral<std::int32_t>(), in.ConsumeIntegral<std::int32_t>()};
  padtool::CaptureConfirmDialog confirm(controls, drawing, codes, in.ConsumeBool(), lastDrawn);
  const padtool::MarkerPosition before = lastDrawn;
  confirm.OnTimer(padtool::kPadTimerId);
  const std::vector<fakes::DrawCall> marker = drawing.Of(fakes::DrawCall::kText);
  Check(marker.empty() == (lastDrawn == before || !drawing.contextAvailable));
  if (!marker.empty()) {
    Check(marker.size() == 1 && marker[0].x == 76 + lastDrawn.x / 4 && marker[0].y == 108 + lastDrawn.y / 4);
  }

  padtool::GamepadTestInput test{};
  for (InputCode& code : test.directions) code = AnyCode(in);
  for (InputCode& code : test.functions) code = AnyCode(in);
  test.forceFeedbackEnabled = in.ConsumeBool();
  test.sliderEnabled = slider;
  test.hatSwitchesEnabled = hats;
  padtool::GroupMarkers lastShown{};
  for (padtool::GroupMarker& marker : lastShown) {
    marker = {in.ConsumeIntegral<std::int32_t>(), in.ConsumeIntegral<std::int32_t>()};
  }
  fakes::FakeDialogControls testControls;
  fakes::FakeWindowDrawing testDrawing;
  testDrawing.contextAvailable = drawing.contextAvailable;
  padtool::GamepadTestDialog dialog(testControls, testDrawing, test, lastShown);
  dialog.OnInit();
  dialog.OnTimer(padtool::kPadTimerId);
  Check(testControls.checked.size() == (drawing.contextAvailable ? 15u : 0u));
  Check(testDrawing.Of(fakes::DrawCall::kText).size() == (drawing.contextAvailable ? 3u : 0u));
  return 0;
}
