// How the gamepad test reads one assigned code from one read cycle: Held for
// buttons, Axis for axes, sliders and hat half-axes, and Pair for the two
// codes of one direction pair. Values are in -127..127; negative is up or left.
#pragma once

#include <cstdint>

#include "padtool/assignment/pad_assignment.h"
#include "platform/direct_input.h"

namespace padtool {

class TestReadings {
 public:
  TestReadings(const platform::JoyState2& state, std::uint64_t held, bool sliderEnabled, bool hatSwitchesEnabled)
      : state_(state), held_(held), sliderEnabled_(sliderEnabled), hatSwitchesEnabled_(hatSwitchesEnabled) {}

  // 127 while the button of a code 0..31 is held (bits 40..63 are never set); 0 otherwise.
  std::int32_t Held(InputCode code) const;
  // The axis, slider or hat half-axis a code names, negated for a negative
  // code; 0 for a disabled slider or hat, a centred hat and any other code.
  std::int32_t Axis(InputCode code) const;
  // Axis(second); if 0, -Held(first); if 0 too, Held(second).
  std::int32_t Pair(InputCode first, InputCode second) const;

 private:
  const platform::JoyState2& state_;
  std::uint64_t held_;
  bool sliderEnabled_;
  bool hatSwitchesEnabled_;
};

}  // namespace padtool
