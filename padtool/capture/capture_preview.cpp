#include "padtool/capture/capture_preview.h"

namespace padtool {

namespace {

constexpr std::int32_t kFullDeflection = 127;

// The coordinate a slot drives, after its code was evaluated.
void Evaluate(PreviewSlot slot, InputCode code, const platform::JoyState2& state, std::uint64_t held,
              std::int32_t& coordinate) {
  const std::int32_t pushed = slot == PreviewSlot::Up || slot == PreviewSlot::Left ? -kFullDeflection : kFullDeflection;
  if (IsAxisCode(code)) {
    coordinate = AxisReading(state, code);
  } else if (IsHatCode(code)) {
    const std::uint32_t angle = HatValue(state, code);
    // The preview's up sector leaves out its edges; the gamepad test's takes them in.
    if (!IsCentred(angle) && InWideSector(angle, SectorFor(slot, code), UpSectorEdges::Excluded)) {
      coordinate = pushed;
    }
  } else if (BitHeld(held, code)) {
    coordinate = pushed;
  }
}

}  // namespace

HatDirection SectorFor(PreviewSlot slot, InputCode hatCode) {
  using D = HatDirection;
  // Rows: the slots up, down, right, left; columns: the code's positive
  // direction right (+40, +42), left (-40, -42), down (+41, -43), up (-41, +43).
  static constexpr HatDirection kTable[4][4] = {{D::Right, D::Left, D::Up, D::Down},
                                                {D::Left, D::Right, D::Down, D::Up},
                                                {D::Right, D::Left, D::Up, D::Down},
                                                {D::Left, D::Right, D::Down, D::Up}};
  int column = 0;
  switch (PositiveDirection(hatCode)) {
    case D::Right: column = 0; break;
    case D::Left: column = 1; break;
    case D::Down: column = 2; break;
    case D::Up: column = 3; break;
  }
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
