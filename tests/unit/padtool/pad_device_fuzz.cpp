// Fuzzes PadDevice::Update over the scripted DirectInput replacement: any
// controller shape and setup results, queued vibration pulses, then a run of
// read cycles each with any immediate state, any buffered events (any offset,
// data and count, more than the room included), any results of the state read,
// the event read and the force update, and any event count the driver claims.
// Each cycle's masks are checked against the read cycle worked out here from
// the same inputs, and so are the re-acquisitions, polls and force updates.
#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstddef>
#include <cstdint>

#include "padtool/input/pad_device.h"
#include "tests/fakes/fake_direct_input.h"

namespace {

using platform::HResult;

void Check(bool condition) {
  if (!condition) __builtin_trap();
}

constexpr std::uint64_t Bit(unsigned bit) { return std::uint64_t{1} << bit; }

HResult AnyResult(FuzzedDataProvider& in) {
  static constexpr HResult kResults[] = {platform::kDiOk,           platform::kSFalse,
                                         platform::kDiErrInputLost, platform::kDiErrNotAcquired,
                                         platform::kDiErrGeneric,   platform::kDiErrDeviceNotReg};
  if (in.ConsumeIntegralInRange(0, 7) == 0) return in.ConsumeIntegral<HResult>();
  return in.PickValueInArray(kResults);
}

platform::DeviceObjectData AnyEvent(FuzzedDataProvider& in) {
  platform::DeviceObjectData event{};
  event.dwOfs = in.ConsumeBool() ? platform::DijofsButton(in.ConsumeIntegralInRange<std::uint32_t>(0, 40))
                                 : in.ConsumeIntegral<std::uint32_t>();
  switch (in.ConsumeIntegralInRange(0, 2)) {
    case 0: event.dwData = 0x80; break;
    case 1: event.dwData = 0; break;
    default: event.dwData = in.ConsumeIntegral<std::uint32_t>(); break;
  }
  event.dwTimeStamp = in.ConsumeIntegral<std::uint32_t>();
  event.dwSequence = in.ConsumeIntegral<std::uint32_t>();
  return event;
}

bool IsLost(HResult result) { return result == platform::kDiErrInputLost || result == platform::kDiErrNotAcquired; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  fakes::FakeDirectInputSystem system;
  system.logging = false;
  const bool present = in.ConsumeIntegralInRange(0, 7) != 0;
  fakes::FakeController* pad = nullptr;
  if (present) {
    pad = &system.Add(1, in.ConsumeBool());
    pad->capsFlags = in.ConsumeIntegral<std::uint32_t>();
    const int actuators = in.ConsumeIntegralInRange(0, 3);
    const platform::Guid axes[] = {platform::kGuidXAxis, platform::kGuidYAxis, platform::kGuidZAxis};
    for (int i = 0; i < 3; ++i) {
      pad->objects.push_back(fakes::Object(axes[i], i < actuators ? platform::kDidoiFfActuator : 0));
    }
    if (in.ConsumeIntegralInRange(0, 7) == 0) pad->cooperativeResult = platform::kDiErrGeneric;
    if (in.ConsumeIntegralInRange(0, 7) == 0) pad->createEffectResult = platform::kDiErrGeneric;
  }
  padtool::PadInputState input;
  std::uint32_t sliders = 0;
  padtool::PadDevice device(system, input, sliders);
  padtool::PublishPadDevice(&device);
  device.Init(0x400000);
  const bool open = device.HasDevice();
  Check(open == (present && pad->cooperativeResult == platform::kDiOk));

  const int pulses = in.ConsumeIntegralInRange(0, 10);
  for (int i = 0; i < pulses; ++i) {
    device.AddPulse(in.ConsumeIntegral<std::int32_t>(), in.ConsumeIntegral<std::int32_t>(),
                    in.ConsumeIntegralInRange<std::int32_t>(-2, 12));
  }

  // What the device's own 32-entry event array holds: entries a read does not
  // overwrite stay from earlier cycles.
  std::array<platform::DeviceObjectData, padtool::PadDevice::kEventCapacity> seen{};
  std::uint64_t previous = 0;
  const int cycles = in.ConsumeIntegralInRange(1, 12);
  for (int cycle = 0; cycle < cycles && in.remaining_bytes() > 0; ++cycle) {
    if (!open) {
      input.held = in.ConsumeIntegral<std::uint64_t>();  // whatever the masks held before
      device.Update();
      Check(input.held == 0 && input.pressed == 0);
      continue;
    }
    pad->state = {};
    in.ConsumeData(&pad->state, sizeof pad->state);
    pad->stateResult = AnyResult(in);
    pad->dataResult = AnyResult(in);
    pad->setParametersResult = AnyResult(in);
    pad->reportedCountOverride = in.ConsumeBool() ? in.ConsumeIntegral<std::uint32_t>() : 0;
    const auto queued = in.ConsumeIntegralInRange<std::uint32_t>(0, 64);
    for (std::uint32_t i = 0; i < queued && pad->eventCount < pad->events.size(); ++i) {
      pad->events[pad->eventCount++] = AnyEvent(in);
    }

    // The cycle as worked out here.
    const bool goodState = pad->stateResult == platform::kDiOk || pad->stateResult == platform::kSFalse;
    const bool goodData = pad->dataResult == platform::kDiOk || pad->dataResult == platform::kDiBufferOverflow;
    std::uint64_t held = 0;
    std::uint64_t pressed = 0;
    if (goodState) {
      for (unsigned i = 0; i < 32; ++i) {
        if ((pad->state.rgbButtons[i] & 0x80) != 0) held |= Bit(i);
      }
      std::uint64_t directions = 0;
      if (pad->state.lX > 63) directions |= Bit(32);
      if (pad->state.lX < -63) directions |= Bit(33);
      if (pad->state.lY < -63) directions |= Bit(34);
      if (pad->state.lY > 63) directions |= Bit(35);
      held |= directions;
      pressed |= directions & ~previous;
    }
    // A failed read takes no events; a good one the first 32 at most.
    std::uint32_t expectedEventsLeft = pad->eventCount;
    if (goodData) {
      const std::uint32_t given = pad->eventCount < 32 ? pad->eventCount : 32;
      for (std::uint32_t i = 0; i < given; ++i) seen[i] = pad->events[i];
      expectedEventsLeft -= given;
      const std::uint32_t claimed = pad->reportedCountOverride != 0 ? pad->reportedCountOverride : given;
      const std::uint32_t count = claimed < 32 ? claimed : 32;
      for (std::uint32_t i = 0; i < count; ++i) {
        const platform::DeviceObjectData& event = seen[i];
        if (event.dwOfs < 48 || event.dwOfs >= 80) continue;
        const std::uint64_t bit = Bit(event.dwOfs - 48);
        if (event.dwData == 0x80) {
          pressed |= bit;
          held |= bit;
        } else if (event.dwData == 0) {
          held ^= bit;
        }
      }
    }

    const int acquires = pad->acquires;
    const int polls = pad->polls;
    const std::size_t sent = pad->sentCount;
    device.Update();
    Check(input.held == held);
    Check(input.pressed == pressed);
    Check((input.held >> 36) == 0 && (input.pressed >> 36) == 0);
    Check(pad->eventCount == expectedEventsLeft);
    Check(pad->lastRoom == 32 && pad->lastObjectSize == 20 && pad->lastStateSize == 272);
    Check(pad->polls - polls == (device.NeedsPoll() ? 1 : 0));

    int expectedAcquires = (IsLost(pad->stateResult) ? 1 : 0) + (IsLost(pad->dataResult) ? 1 : 0);
    if (device.HasEffect()) {
      Check(pad->sentCount == sent + 1);
      const fakes::SentForce& force = pad->Sent(sent);
      Check(force.flags == 0x20000140u && force.size == 56 && force.typeSpecificSize == 4 && force.otherFieldsZero);
      Check(force.axisCount == device.ForceAxisCount());
      if (force.axisCount == 1) {
        Check(force.direction[0] == 0 && force.direction[1] == 0);
      } else {
        Check(force.direction[0] == force.direction[1] && force.magnitude >= 0);
      }
      expectedAcquires += 1 + (pad->setParametersResult == platform::kDiErrInputLost ? 1 : 0);
    } else {
      Check(pad->sentCount == sent);
    }
    Check(pad->acquires - acquires == expectedAcquires);
    previous = held;
  }
  padtool::PublishPadDevice(nullptr);
  return 0;
}
