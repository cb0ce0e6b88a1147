// Cost of one PadDevice::Update cycle against the scripted DirectInput, and the
// heap allocations it makes (counter "allocs/cycle", which must stay 0).
#include <benchmark/benchmark.h>

#include "padtool/input/pad_device.h"
#include "tests/fakes/fake_direct_input.h"
#include "tests/unit/padtool/alloc_counter.h"

namespace {

void RunCycles(benchmark::State& state, std::uint32_t eventsPerCycle) {
  fakes::FakeDirectInputSystem system;
  fakes::FakeController& pad = system.Add(1);
  pad.capsFlags = platform::kDidcPolledDevice;
  pad.objects = {fakes::Object(platform::kGuidXAxis), fakes::Object(platform::kGuidYAxis)};
  pad.state.lX = 100;
  pad.state.lY = -100;
  pad.state.rgbButtons[0] = 0x80;
  pad.state.rgbButtons[7] = 0x80;
  padtool::PadInputState input;
  std::uint32_t sliders = 0;
  padtool::PadDevice device(system, input, sliders);
  padtool::PublishPadDevice(&device);
  device.Init(0x400000);
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
  padtool::PublishPadDevice(nullptr);
}

void BM_UpdateIdle(benchmark::State& state) { RunCycles(state, 0); }
void BM_UpdateTwoEvents(benchmark::State& state) { RunCycles(state, 2); }
void BM_UpdateFullEventBuffer(benchmark::State& state) { RunCycles(state, 32); }

BENCHMARK(BM_UpdateIdle);
BENCHMARK(BM_UpdateTwoEvents);
BENCHMARK(BM_UpdateFullEventBuffer);

}  // namespace

BENCHMARK_MAIN();
