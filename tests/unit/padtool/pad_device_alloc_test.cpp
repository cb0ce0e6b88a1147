// The read cycle runs every 80 ms for the life of the tool: it must not allocate.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "padtool/input/pad_device.h"
#include "tests/fakes/fake_direct_input.h"
#include "tests/unit/padtool/alloc_counter.h"

namespace {

TEST(PadDeviceAllocations, CountingSeesAllocations) {
  const std::size_t before = padtool_test::AllocationCount();
  auto probe = std::make_unique<std::vector<int>>(16);
  EXPECT_GE(padtool_test::AllocationCount(), before + 2);
}

TEST(PadDeviceAllocations, ReadCycleMakesNoHeapAllocation) {
  fakes::FakeDirectInputSystem system;
  fakes::FakeController& pad = system.Add(1);
  pad.capsFlags = platform::kDidcPolledDevice;
  pad.objects = {fakes::Object(platform::kGuidXAxis), fakes::Object(platform::kGuidYAxis)};
  padtool::PadInputState input;
  std::uint32_t sliders = 0;
  padtool::PadDevice device(system, input, sliders);
  padtool::PublishPadDevice(&device);
  ASSERT_TRUE(device.Init(0x400000));
  ASSERT_TRUE(device.HasDevice());
  system.logging = false;

  std::size_t allocations = 0;
  for (int cycle = 0; cycle < 200; ++cycle) {
    pad.state.lX = (cycle % 3 - 1) * 127;
    pad.state.rgbButtons[cycle % 32] = 0x80;
    for (std::uint32_t b = 0; b < 20; ++b) pad.Press((cycle + b) % 40);
    pad.stateResult = cycle % 17 == 0 ? platform::kDiErrInputLost : platform::kDiOk;
    pad.dataResult = cycle % 13 == 0 ? platform::kDiBufferOverflow : platform::kDiOk;
    const std::size_t before = padtool_test::AllocationCount();
    device.Update();
    allocations += padtool_test::AllocationCount() - before;
  }
  EXPECT_EQ(allocations, 0u);
  EXPECT_EQ(pad.stateReads, 200);
  padtool::PublishPadDevice(nullptr);
}

TEST(PadDeviceAllocations, ForceFeedbackCycleWithEightPulsesMakesNoHeapAllocation) {
  fakes::FakeDirectInputSystem system;
  fakes::FakeController& pad = system.Add(1, true);
  pad.objects = {fakes::Object(platform::kGuidXAxis, platform::kDidoiFfActuator),
                 fakes::Object(platform::kGuidYAxis, platform::kDidoiFfActuator)};
  padtool::PadInputState input;
  std::uint32_t sliders = 0;
  padtool::PadDevice device(system, input, sliders);
  padtool::PublishPadDevice(&device);
  ASSERT_TRUE(device.Init(0x400000));
  ASSERT_TRUE(device.HasEffect());
  system.logging = false;

  std::size_t allocations = 0;
  for (int cycle = 0; cycle < 200; ++cycle) {
    if (cycle % 3 == 0) device.AddPulse(10000, 1000, 40);  // keeps all 8 slots busy
    pad.setParametersResult = cycle % 11 == 0 ? platform::kDiErrInputLost : platform::kDiOk;
    const std::size_t before = padtool_test::AllocationCount();
    device.Update();
    allocations += padtool_test::AllocationCount() - before;
  }
  EXPECT_EQ(allocations, 0u);
  EXPECT_EQ(pad.sentCount, 200u);
  EXPECT_NE(pad.Sent(199).magnitude, 0);
  padtool::PublishPadDevice(nullptr);
}

}  // namespace
