// A published PadDevice over one scripted controller, for the dialogs that
// read the controller through the process-wide pointer.
#pragma once

#include "padtool/input/pad_device.h"
#include "tests/fakes/fake_direct_input.h"

namespace padtool_test {

// A controller state at rest: every axis 0, both hats centred.
inline platform::JoyState2 Resting() {
  platform::JoyState2 state{};
  for (std::uint32_t& hat : state.rgdwPOV) hat = padtool::kHatCentred;
  return state;
}

struct LivePad {
  explicit LivePad(bool forceFeedback = false)
      : pad(system.Add(1, forceFeedback)), device(system, input, sliders) {
    if (forceFeedback) {
      pad.objects = {fakes::Object(platform::kGuidXAxis, platform::kDidoiFfActuator),
                     fakes::Object(platform::kGuidYAxis, platform::kDidoiFfActuator)};
    }
    for (std::uint32_t& hat : pad.state.rgdwPOV) hat = padtool::kHatCentred;
    padtool::PublishPadDevice(&device);
    device.Init(0x400000);
  }
  ~LivePad() { padtool::PublishPadDevice(nullptr); }
  LivePad(const LivePad&) = delete;
  LivePad& operator=(const LivePad&) = delete;

  fakes::FakeDirectInputSystem system;
  fakes::FakeController& pad;
  padtool::PadInputState input;
  std::uint32_t sliders = 0;
  padtool::PadDevice device;
};

}  // namespace padtool_test
