// Cost of one PadDevice::Update cycle against the scripted DirectInput, and the
// heap allocations it makes (counter "allocs/cycle", which must stay 0): idle,
// with button events, and on a force-feedback controller with 8 active pulses.
#include <benchmark/benchmark.h>

#include "padtool/input/pad_device.h"
#include "tests/fakes/fake_direct_input.h"
#include "tests/unit/padtool/alloc_counter.h"

namespace {

void RunCycles(benchmark::State& state, std::uint32_t eventsPerCycle, std::uint32_t pulses = 0) {
  fakes::FakeDirectInputSystem system;
  const bool forceFeedback = pulses > 0;
  fakes::FakeController& pad = system.Add(1, forceFeedback);
  pad.capsFlags = platform::kDidcPolledDevice;
  const std::uint32_t actuator = forceFeedback ? platform::kDidoiFfActuator : 0;
  pad.objects = {fakes::Object(platform::kGuidXAxis, actuator), fakes::Object(platform::kGuidYAxis, actuator)};
  pad.state.lX = 100;
  pad.state.lY = -100;
  pad.state.rgbButtons[0] = 0x80;
  pad.state.rgbButtons[7] = 0x80;
  padtool::PadInputState input;
  std::uint32_t sliders = 0;
  padtool::PadDevice device(system, input, sliders);
  padtool::PublishPadDevice(&device);
  device.Init(0x400000);
  if (forceFeedback && !device.HasEffect()) state.SkipWithError("no force-feedback effect");
  // Pulses that outlast the run, so every cycle sums all of them.
  for (std::uint32_t p = 0; p < pulses; ++p) device.AddPulse(10000, 1000, 1 << 30);
  system.logging = false;

  std::size_t allocations = 0;
  std::size_t cycles = 0;
  for (auto _ : state) {
    for (std::uint32_t e = 0; e < eventsPerCycle; ++e) {
      if ((e & 1) == 0) {
        pad.Press(e % 32);
      } else {
        pad.Release(e % 32);
      }
    }
    const std::size_t before = padtool_test::AllocationCount();
    device.Update();
    allocations += padtool_test::AllocationCount() - before;
    ++cycles;
    benchmark::DoNotOptimize(input.held);
    benchmark::DoNotOptimize(input.pressed);
  }
  state.counters["allocs/cycle"] = cycles == 0 ? 0.0 : static_cast<double>(allocations) / cycles;
  if (forceFeedback) state.counters["forces sent"] = static_cast<double>(pad.sentCount);
  padtool::PublishPadDevice(nullptr);
}

void BM_UpdateIdle(benchmark::State& state) { RunCycles(state, 0); }
void BM_UpdateTwoEvents(benchmark::State& state) { RunCycles(state, 2); }
void BM_UpdateFullEventBuffer(benchmark::State& state) { RunCycles(state, 32); }
void BM_UpdateForceFeedbackEightPulses(benchmark::State& state) { RunCycles(state, 2, 8); }

BENCHMARK(BM_UpdateIdle);
BENCHMARK(BM_UpdateTwoEvents);
BENCHMARK(BM_UpdateFullEventBuffer);
BENCHMARK(BM_UpdateForceFeedbackEightPulses);

}  // namespace

BENCHMARK_MAIN();
