// Where the capture confirmation puts its marker: the four captured codes
// evaluated against the controller's raw state and held buttons of one cycle.
#pragma once

#include <cstdint>

#include "padtool/dialogs/pad_child_dialogs.h"
#include "padtool/input/control_reading.h"
#include "platform/direct_input.h"

namespace padtool {

// A marker offset: x negative left, y negative up, each in -127..127.
struct MarkerPosition {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

inline bool operator==(const MarkerPosition& a, const MarkerPosition& b) { return a.x == b.x && a.y == b.y; }
inline bool operator!=(const MarkerPosition& a, const MarkerPosition& b) { return !(a == b); }

// The slots in the order the preview evaluates them; up and down drive y,
// right and left drive x, and a later slot may overwrite an earlier one.
enum class PreviewSlot { Up, Down, Right, Left };

// The wide hat sector that a hat code 40..43 or -40..-43 names for a slot.
HatDirection SectorFor(PreviewSlot slot, InputCode hatCode);

MarkerPosition PreviewPosition(const CapturedDirections& codes, const platform::JoyState2& state,
                               std::uint64_t held);

}  // namespace padtool
