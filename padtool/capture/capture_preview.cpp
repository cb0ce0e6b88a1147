#include "padtool/capture/capture_preview.h"

#include "padtool/input/pad_device.h"

namespace padtool {

namespace {

constexpr std::int32_t kFullDeflection = 127;

std::int32_t Negated(std::int32_t value) { return static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(value)); }

// The raw value of axis or slider code 32..39.
std::int32_t RawAxis(const platform::JoyState2& state, std::int32_t code) {
  switch (code) {
    case kXAxis: return state.lX;
    case kYAxis: return state.lY;
    case kZAxis: return state.lZ;
    case kRxAxis: return state.lRx;
    case kRyAxis: return state.lRy;
    case kRzAxis: return state.lRz;
    case kFirstSlider: return state.rglSlider[0];
    default: return state.rglSlider[1];
  }
}

bool IsAxisCode(InputCode code) { return (code >= kXAxis && code <= kSecondSlider) || (code <= -kXAxis && code >= -kSecondSlider); }
bool IsHatCode(InputCode code) {
  return (code >= kFirstHatHorizontal && code <= kSecondHatVertical) ||
         (code <= -kFirstHatHorizontal && code >= -kSecondHatVertical);
}

// The first hat's code that a second-hat code is read as: its vertical sense is the opposite.
std::int32_t AsFirstHatCode(InputCode code) {
  switch (code) {
    case kSecondHatHorizontal: return kFirstHatHorizontal;
    case -kSecondHatHorizontal: return -kFirstHatHorizontal;
    case kSecondHatVertical: return -kFirstHatVertical;
    case -kSecondHatVertical: return kFirstHatVertical;
    default: return code;
  }
}

// The coordinate a slot drives, after its code was evaluated.
void Evaluate(PreviewSlot slot, InputCode code, const platform::JoyState2& state, std::uint64_t held,
              std::int32_t& coordinate) {
  const std::int32_t pushed = slot == PreviewSlot::Up || slot == PreviewSlot::Left ? -kFullDeflection : kFullDeflection;
  if (IsAxisCode(code)) {
    const std::int32_t raw = RawAxis(state, code < 0 ? -code : code);
    coordinate = code < 0 ? Negated(raw) : raw;
  } else if (IsHatCode(code)) {
    const bool second = code == kSecondHatHorizontal || code == -kSecondHatHorizontal ||
                        code == kSecondHatVertical || code == -kSecondHatVertical;
    const std::uint32_t angle = state.rgdwPOV[second ? 1 : 0];
    if (angle != kHatCentred && InHatSector(angle, SectorFor(slot, AsFirstHatCode(code)))) coordinate = pushed;
  } else if (code >= 0 && code < 64 && (held & (std::uint64_t{1} << code)) != 0) {
    coordinate = pushed;
  }
}

}  // namespace

bool InHatSector(std::uint32_t angle, HatSector sector) {
  switch (sector) {
    case HatSector::Up: return angle > 29250 || angle < 6750;
    case HatSector::Right: return angle >= 2250 && angle < 15750;
    case HatSector::Down: return angle >= 11250 && angle < 24750;
    case HatSector::Left: return angle >= 20250 && angle < 33750;
  }
  return false;
}

HatSector SectorFor(PreviewSlot slot, std::int32_t hatCode) {
  using S = HatSector;
  // Rows: the slots up, down, right, left; columns: +40, -40, +41, -41.
  static constexpr HatSector kTable[4][4] = {{S::Right, S::Left, S::Up, S::Down},
                                             {S::Left, S::Right, S::Down, S::Up},
                                             {S::Right, S::Left, S::Up, S::Down},
                                             {S::Left, S::Right, S::Down, S::Up}};
  int column = 0;
  if (hatCode == -kFirstHatHorizontal) column = 1;
  if (hatCode == kFirstHatVertical) column = 2;
  if (hatCode == -kFirstHatVertical) column = 3;
  return kTable[static_cast<int>(slot)][column];
}

MarkerPosition PreviewPosition(const CapturedDirections& codes, const platform::JoyState2& state,
                               std::uint64_t held) {
  MarkerPosition position;
  Evaluate(PreviewSlot::Up, codes.up, state, held, position.y);
  Evaluate(PreviewSlot::Down, codes.down, state, held, position.y);
  Evaluate(PreviewSlot::Right, codes.right, state, held, position.x);
  Evaluate(PreviewSlot::Left, codes.left, state, held, position.x);
  return position;
}

}  // namespace padtool
