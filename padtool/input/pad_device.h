// The gamepad tool's one game controller, through DirectInput 8: choosing and
// configuring the first attached controller, the read cycle that turns its
// immediate state and buffered button events into PadInputState, and the
// constant-force effect that plays queued vibration pulses.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "padtool/input/control_reading.h"
#include "platform/direct_input.h"

namespace padtool {

// Bits of PadInputState's masks: 0..31 are Button 1..32.
constexpr unsigned kStickRightBit = 32;
constexpr unsigned kStickLeftBit = 33;
constexpr unsigned kStickUpBit = 34;
constexpr unsigned kStickDownBit = 35;

// Every window that reads the controller does so from its own timer.
constexpr unsigned kPadTimerId = 1;
constexpr unsigned kPadTimerPeriodMs = 80;

// What the last read cycle saw, rebuilt by every PadDevice::Update.
struct PadInputState {
  std::uint64_t held = 0;     // down in this cycle
  std::uint64_t pressed = 0;  // went down in this cycle
};

// The process-wide input state that PadDevice::Update writes by default.
PadInputState& ProcessPadInputState();
// The process-wide number of sliders the range setup has seen; never reset.
std::uint32_t& ProcessSliderCount();

// One queued vibration: the force fades linearly from start to end over
// duration read cycles; active while remaining is above 0.
struct VibrationPulse {
  std::int32_t start = 0;
  std::int32_t end = 0;
  std::int32_t duration = 0;
  std::int32_t remaining = 0;
};

class PadDevice;
// The process-wide device pointer; null while no PadDevice exists.
PadDevice* ActivePadDevice();
void PublishPadDevice(PadDevice* device);

// What a child window reads in its tick: the raw state and the masks after one
// PadDevice::Update of the published device, or, without a PadDevice, a
// controller at rest (every axis 0, hats centred, nothing held or pressed).
struct PadTick {
  const platform::JoyState2& state;
  PadInputState input;
};
PadTick UpdateActivePad();

class PadDevice {
 public:
  static constexpr std::uint32_t kEventCapacity = 32;    // events taken per cycle
  static constexpr std::uint32_t kDeviceBufferSize = 640;  // events the device buffers
  static constexpr std::int32_t kAxisMin = -127;
  static constexpr std::int32_t kAxisMax = 127;
  static constexpr std::int32_t kDirectionThreshold = 63;  // beyond +-63 a stick direction counts
  static constexpr std::size_t kPulseSlots = 8;
  static constexpr std::uint32_t kMaxForceAxes = 2;  // X and Y actuators

  explicit PadDevice(platform::DirectInputProvider& provider, PadInputState& input = ProcessPadInputState(),
                     std::uint32_t& sliderCount = ProcessSliderCount());
  // Unacquire and release the device, release DirectInput, clear the
  // process-wide pointer if it names this object.
  ~PadDevice();
  PadDevice(const PadDevice&) = delete;
  PadDevice& operator=(const PadDevice&) = delete;

  // The window used for the cooperative level.
  void SetWindow(platform::WindowId window) { window_ = window; }

  // Creates DirectInput and sets up the first usable controller. False only
  // when DirectInput itself cannot be created; a missing controller is fine.
  // The device must be published (PublishPadDevice) first: the enumeration
  // callbacks reach it through the process-wide pointer.
  bool Init(platform::ModuleToken instance);

  // One read cycle, the force refresh included; makes no heap allocation.
  void Update();

  // Queues a vibration pulse in the next slot of the ring; the ninth pulse
  // overwrites the oldest, active or not. Without an effect the ring still fills.
  void AddPulse(std::int32_t start, std::int32_t end, std::int32_t duration);

  bool HasZAxis() const { return hasZAxis_; }
  bool HasDevice() const { return device_ != nullptr; }
  bool NeedsPoll() const { return needsPoll_; }
  bool ForceFeedbackWanted() const { return forceFeedbackWanted_; }
  // The last immediate state read from the controller; before the first good
  // read every axis is 0 and every hat centred.
  const platform::JoyState2& State() const { return state_; }
  const PadInputState& Input() const { return input_; }
  bool HasEffect() const { return effect_ != nullptr; }
  std::uint32_t ForceAxisCount() const { return forceAxisCount_; }
  const std::array<VibrationPulse, kPulseSlots>& Pulses() const { return pulses_; }
  std::int16_t WritePosition() const { return writePosition_; }

 private:
  static int OnDeviceFound(const platform::DeviceInstance& instance, void* context);
  static int OnObjectFound(const platform::DeviceObjectInstance& object, void* context);
  void SetUpDevice();
  static int OnActuatorFound(const platform::DeviceObjectInstance& object, void* context);
  void SetAxisRange(std::uint32_t offset);
  void CreateForceEffect();
  // Advances the pulses by one cycle and sends their sum to the effect; the
  // result of the last DirectInput call (kDiOk without an effect).
  platform::HResult UpdateForce();

  platform::DirectInputProvider& provider_;
  PadInputState& input_;
  std::uint32_t& sliderCount_;
  std::unique_ptr<platform::DirectInput> directInput_;
  std::unique_ptr<platform::DirectInputDevice> device_;
  platform::WindowId window_ = 0;
  platform::JoyState2 state_{};
  platform::DeviceObjectData events_[kEventCapacity]{};
  std::uint32_t eventCount_ = 0;
  bool needsPoll_ = false;
  bool hasZAxis_ = true;
  bool forceFeedbackWanted_ = false;
  std::array<VibrationPulse, kPulseSlots> pulses_{};
  std::int16_t writePosition_ = 0;
  std::unique_ptr<platform::DirectInputEffect> effect_;
  std::uint32_t forceAxisCount_ = 0;
};

}  // namespace padtool
