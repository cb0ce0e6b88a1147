#include "padtool/input/control_reading.h"

namespace padtool {

namespace {

// Magnitude and negation in unsigned arithmetic: the most negative code or
// value wraps instead of overflowing.
std::int32_t Negated(std::int32_t value) { return static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(value)); }
std::int32_t Magnitude(std::int32_t code) { return code < 0 ? Negated(code) : code; }

bool InRange(InputCode code, InputCode low, InputCode high) {
  const InputCode named = Magnitude(code);
  return named >= low && named <= high;
}

}  // namespace

const platform::JoyState2& RestingState() {
  static const platform::JoyState2 kRest = [] {
    platform::JoyState2 rest{};
    for (std::uint32_t& hat : rest.rgdwPOV) hat = kHatCentred;
    return rest;
  }();
  return kRest;
}

bool IsAxisCode(InputCode code) { return InRange(code, kXAxis, kSecondSlider); }
bool IsSliderCode(InputCode code) { return InRange(code, kFirstSlider, kSecondSlider); }
bool IsHatCode(InputCode code) { return InRange(code, kFirstHatHorizontal, kSecondHatVertical); }

std::int32_t AxisReading(const platform::JoyState2& state, InputCode axisCode) {
  std::int32_t value = 0;
  switch (Magnitude(axisCode)) {
    case kXAxis: value = state.lX; break;
    case kYAxis: value = state.lY; break;
    case kZAxis: value = state.lZ; break;
    case kRxAxis: value = state.lRx; break;
    case kRyAxis: value = state.lRy; break;
    case kRzAxis: value = state.lRz; break;
    case kFirstSlider: value = state.rglSlider[0]; break;
    case kSecondSlider: value = state.rglSlider[1]; break;
    default: return 0;
  }
  return axisCode < 0 ? Negated(value) : value;
}

bool BitHeld(std::uint64_t held, InputCode code) {
  return code >= 0 && code < 64 && (held & (std::uint64_t{1} << code)) != 0;
}

HatDirection Opposite(HatDirection direction) {
  switch (direction) {
    case HatDirection::Up: return HatDirection::Down;
    case HatDirection::Right: return HatDirection::Left;
    case HatDirection::Down: return HatDirection::Up;
    case HatDirection::Left: return HatDirection::Right;
  }
  return HatDirection::Up;
}

std::uint32_t HatValue(const platform::JoyState2& state, InputCode hatCode) {
  const InputCode named = Magnitude(hatCode);
  return state.rgdwPOV[named == kSecondHatHorizontal || named == kSecondHatVertical ? 1 : 0];
}

HatDirection PositiveDirection(InputCode hatCode) {
  HatDirection positive = HatDirection::Right;
  switch (Magnitude(hatCode)) {
    case kFirstHatVertical: positive = HatDirection::Down; break;
    // The second hat's vertical half reads positive upwards, as the capture records it.
    case kSecondHatVertical: positive = HatDirection::Up; break;
    default: break;
  }
  return hatCode < 0 ? Opposite(positive) : positive;
}

InputCode HatCodeTowards(int hat, HatDirection direction) {
  const InputCode horizontal = hat == 0 ? kFirstHatHorizontal : kSecondHatHorizontal;
  const InputCode vertical = hat == 0 ? kFirstHatVertical : kSecondHatVertical;
  const InputCode half = direction == HatDirection::Right || direction == HatDirection::Left ? horizontal : vertical;
  return PositiveDirection(half) == direction ? half : -half;
}

std::optional<HatDirection> NarrowSectorOf(std::uint32_t angle) {
  if (angle < 4500 || (angle > 31500 && angle <= 36000)) return HatDirection::Up;
  if (angle > 4500 && angle < 13500) return HatDirection::Right;
  if (angle > 13500 && angle < 22500) return HatDirection::Down;
  if (angle > 22500 && angle < 31500) return HatDirection::Left;
  return std::nullopt;
}

bool InWideSector(std::uint32_t angle, HatDirection direction, UpSectorEdges upEdges) {
  switch (direction) {
    case HatDirection::Up:
      return upEdges == UpSectorEdges::Included ? angle <= 6750 || angle >= 29250 : angle < 6750 || angle > 29250;
    case HatDirection::Right: return angle >= 2250 && angle < 15750;
    case HatDirection::Down: return angle >= 11250 && angle < 24750;
    case HatDirection::Left: return angle >= 20250 && angle < 33750;
  }
  return false;
}

std::int32_t HatHalfAxisReading(const platform::JoyState2& state, InputCode hatCode, UpSectorEdges upEdges,
                                std::int32_t full) {
  const std::uint32_t angle = HatValue(state, hatCode);
  if (IsCentred(angle)) return 0;
  // Opposite sectors never overlap, so at most one of the two matches.
  const HatDirection positive = PositiveDirection(hatCode);
  if (InWideSector(angle, positive, upEdges)) return full;
  if (InWideSector(angle, Opposite(positive), upEdges)) return Negated(full);
  return 0;
}

}  // namespace padtool
