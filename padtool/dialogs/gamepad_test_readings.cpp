#include "padtool/dialogs/gamepad_test_readings.h"

#include "padtool/input/control_reading.h"

namespace padtool {

namespace {

constexpr std::int32_t kFull = 127;

}  // namespace

std::int32_t TestReadings::Held(InputCode code) const {
  // Bits 32..35 are the stick's directions: an axis code is never a held button.
  if (code >= kXAxis && code <= kSecondSlider) return 0;
  return BitHeld(held_, code) ? kFull : 0;
}

std::int32_t TestReadings::Axis(InputCode code) const {
  if (IsAxisCode(code)) return IsSliderCode(code) && !sliderEnabled_ ? 0 : AxisReading(state_, code);
  // The test's up sector takes in its edges; the capture preview's leaves them out.
  if (IsHatCode(code)) return hatSwitchesEnabled_ ? HatHalfAxisReading(state_, code, UpSectorEdges::Included, kFull) : 0;
  return 0;
}

std::int32_t TestReadings::Pair(InputCode first, InputCode second) const {
  std::int32_t value = Axis(second);
  if (value == 0) value = -Held(first);
  if (value == 0) value = Held(second);
  return value;
}

}  // namespace padtool
