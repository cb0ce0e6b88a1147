#include "padtool/dialogs/gamepad_test_readings.h"

#include "padtool/input/pad_device.h"

namespace padtool {

namespace {

constexpr std::int32_t kFull = 127;

std::int32_t Negated(std::int32_t value) { return static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(value)); }

}  // namespace

std::int32_t TestReadings::Held(InputCode code) const {
  if (code < 0 || code > 63 || (code >= kXAxis && code <= kSecondSlider)) return 0;
  return (held_ & (std::uint64_t{1} << code)) != 0 ? kFull : 0;
}

std::int32_t TestReadings::Axis(InputCode code) const {
  const InputCode named = code < 0 ? Negated(code) : code;
  std::int32_t value = 0;
  switch (named) {
    case kXAxis: value = state_.lX; break;
    case kYAxis: value = state_.lY; break;
    case kZAxis: value = state_.lZ; break;
    case kRxAxis: value = state_.lRx; break;
    case kRyAxis: value = state_.lRy; break;
    case kRzAxis: value = state_.lRz; break;
    case kFirstSlider:
    case kSecondSlider:
      if (sliderEnabled_) value = state_.rglSlider[named - kFirstSlider];
      break;
    case kFirstHatHorizontal:
    case kFirstHatVertical:
    case kSecondHatHorizontal:
    case kSecondHatVertical:
      if (hatSwitchesEnabled_) value = HatReading(named);
      break;
    default:
      break;
  }
  return code < 0 ? Negated(value) : value;
}

std::int32_t TestReadings::HatReading(InputCode code) const {
  const bool second = code == kSecondHatHorizontal || code == kSecondHatVertical;
  const std::uint32_t a = state_.rgdwPOV[second ? 1 : 0];
  if (a == kHatCentred) return 0;
  if (code == kFirstHatHorizontal || code == kSecondHatHorizontal) {
    if (a >= 20250 && a < 33750) return -kFull;
    if (a >= 2250 && a < 15750) return kFull;
    return 0;
  }
  // The second hat's vertical half reads positive upwards, as the capture records it.
  const std::int32_t up = second ? kFull : -kFull;
  if (a <= 6750 || a >= 29250) return up;
  if (a >= 11250 && a < 24750) return -up;
  return 0;
}

std::int32_t TestReadings::Pair(InputCode first, InputCode second) const {
  std::int32_t value = Axis(second);
  if (value == 0) value = -Held(first);
  if (value == 0) value = Held(second);
  return value;
}

}  // namespace padtool
