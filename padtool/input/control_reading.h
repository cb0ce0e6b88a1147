// Reading a controller's raw state by InputCode: which DIJOYSTATE2 field an
// axis, slider or hat code names, which way a hat half-axis points (the second
// hat's vertical half counts up as positive), the hat sectors, the held bit of
// a button code, and the state of a controller at rest. The capture probe, the
// capture preview and the gamepad test read through here; where their
// boundaries differ on purpose, the difference is a parameter or a separate
// sector function.
#pragma once

#include <cstdint>
#include <optional>

#include "padtool/assignment/pad_assignment.h"
#include "platform/direct_input.h"

namespace padtool {

// A hat's value while it is centred; otherwise hundredths of a degree
// clockwise from up, below 36000.
constexpr std::uint32_t kHatCentred = 0xFFFFFFFF;
constexpr bool IsCentred(std::uint32_t hat) { return hat == kHatCentred; }

// A controller at rest: every axis and slider 0, every hat centred, no button down.
const platform::JoyState2& RestingState();

// +-32..+-39: the axes X, Y, Z, X, Y and Z rotation, then the two sliders.
bool IsAxisCode(InputCode code);
// +-38, +-39.
bool IsSliderCode(InputCode code);
// +-40..+-43: the horizontal and vertical halves of the first and second hat.
bool IsHatCode(InputCode code);

// The raw value of the axis or slider that an axis code names, negated
// (wrapping, never overflowing) for a negative code.
std::int32_t AxisReading(const platform::JoyState2& state, InputCode axisCode);

// Whether bit `code` of a held mask is set; false for a code outside 0..63.
bool BitHeld(std::uint64_t held, InputCode code);

enum class HatDirection { Up, Right, Down, Left };
HatDirection Opposite(HatDirection direction);

// The value of the hat that a hat code names (40, 41 the first; 42, 43 the second).
std::uint32_t HatValue(const platform::JoyState2& state, InputCode hatCode);
// The direction in which a hat code reads positive: 40 and 42 right, 41 down,
// 43 up; a negative code the opposite one.
HatDirection PositiveDirection(InputCode hatCode);
// The code of hat 0 or 1 that reads positive in a direction (first hat up: -41,
// second hat up: 43).
InputCode HatCodeTowards(int hat, HatDirection direction);

// The narrow sectors, 90 degrees around each direction, with the diagonals
// 4500, 13500, 22500 and 31500 in none; up runs up to 36000 inclusive. The
// capture probe records only a clear direction.
std::optional<HatDirection> NarrowSectorOf(std::uint32_t angle);

// The wide sectors, 135 degrees each, so neighbours overlap by 45 degrees and
// a diagonal counts for both. Each includes its start and excludes its end,
// except the up sector, which wraps through 0 and either leaves out both its
// edges 6750 and 29250 (the capture preview) or takes in both (the gamepad test).
enum class UpSectorEdges { Excluded, Included };
bool InWideSector(std::uint32_t angle, HatDirection direction, UpSectorEdges upEdges);

// +full while the hat of a hat code lies in the wide sector of the code's
// positive direction, -full in the opposite one, 0 otherwise or centred.
std::int32_t HatHalfAxisReading(const platform::JoyState2& state, InputCode hatCode, UpSectorEdges upEdges,
                                std::int32_t full);

}  // namespace padtool
