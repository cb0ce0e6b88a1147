#include "padtool/input/pad_device.h"

#include <cmath>
#include <limits>

namespace padtool {

namespace {

using platform::HResult;

PadInputState gInputState;
std::uint32_t gSliderCount = 0;
PadDevice* gActiveDevice = nullptr;

bool Failed(HResult result) { return result < 0; }

bool IsLostInput(HResult result) {
  return result == platform::kDiErrInputLost || result == platform::kDiErrNotAcquired;
}

constexpr std::uint64_t Bit(unsigned bit) { return std::uint64_t{1} << bit; }

constexpr std::uint32_t kButtonCount = 32;
constexpr std::uint8_t kButtonDown = 0x80;
constexpr std::uint32_t kPressData = 0x80;
constexpr std::uint32_t kReleaseData = 0;
constexpr std::uint32_t kRangeSliders = 2;  // sliders that get a range; later ones are left alone
constexpr std::uint32_t kForceParameters =
    platform::kDiepDirection | platform::kDiepTypeSpecificParams | platform::kDiepStart;

// Signed 32-bit arithmetic that wraps as the machine's does instead of
// overflowing into undefined behaviour.
std::int32_t Wrap(std::uint32_t value) { return static_cast<std::int32_t>(value); }
std::int32_t Add32(std::int32_t a, std::int32_t b) {
  return Wrap(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b));
}
std::int32_t Sub32(std::int32_t a, std::int32_t b) {
  return Wrap(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}
std::int32_t Mul32(std::int32_t a, std::int32_t b) {
  return Wrap(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}

// The magnitude along the diagonal of two equal components, truncated.
std::int32_t DiagonalMagnitude(std::int32_t sum) {
  const double component = static_cast<double>(sum);
  const double length = std::sqrt(component * component + component * component);
  constexpr double kLargest = static_cast<double>(std::numeric_limits<std::int32_t>::max());
  return length >= kLargest ? std::numeric_limits<std::int32_t>::max() : static_cast<std::int32_t>(length);
}

}  // namespace

PadInputState& ProcessPadInputState() { return gInputState; }
std::uint32_t& ProcessSliderCount() { return gSliderCount; }
PadDevice* ActivePadDevice() { return gActiveDevice; }
void PublishPadDevice(PadDevice* device) { gActiveDevice = device; }

PadTick UpdateActivePad() {
  PadDevice* device = ActivePadDevice();
  if (device == nullptr) return {RestingState(), PadInputState{}};
  device->Update();
  return {device->State(), device->Input()};
}

PadDevice::PadDevice(platform::DirectInputProvider& provider, PadInputState& input, std::uint32_t& sliderCount)
    : provider_(provider), input_(input), sliderCount_(sliderCount), state_(RestingState()) {}

PadDevice::~PadDevice() {
  if (device_ != nullptr) {
    device_->Unacquire();
    // The effect belongs to the device: it goes first, never outliving it.
    effect_.reset();
    device_.reset();
  }
  directInput_.reset();
  if (gActiveDevice == this) gActiveDevice = nullptr;
}

bool PadDevice::Init(platform::ModuleToken instance) {
  HResult created = provider_.Create(instance, platform::kDirectInputVersion, &directInput_);
  if (Failed(created) || directInput_ == nullptr) {
    directInput_.reset();
    return false;
  }
  SetUpDevice();
  pulses_ = {};
  writePosition_ = 0;
  return true;
}

int PadDevice::OnDeviceFound(const platform::DeviceInstance& instance, void*) {
  PadDevice* self = gActiveDevice;
  if (self == nullptr) return platform::kDiEnumContinue;
  if (Failed(self->directInput_->CreateDevice(instance.guidInstance, &self->device_)) || self->device_ == nullptr) {
    self->device_.reset();
    return platform::kDiEnumContinue;
  }
  return platform::kDiEnumStop;
}

void PadDevice::SetUpDevice() {
  forceFeedbackWanted_ = true;
  HResult enumerated = directInput_->EnumDevices(platform::kDi8DevClassGameCtrl, &PadDevice::OnDeviceFound, nullptr,
                                                 platform::kDiEdflAttachedOnly | platform::kDiEdflForceFeedback);
  if (Failed(enumerated) || device_ == nullptr) {
    forceFeedbackWanted_ = false;
    enumerated = directInput_->EnumDevices(platform::kDi8DevClassGameCtrl, &PadDevice::OnDeviceFound, nullptr,
                                           platform::kDiEdflAttachedOnly);
  }
  if (Failed(enumerated)) {
    device_.reset();
    return;
  }
  hasZAxis_ = false;
  if (device_ == nullptr) return;

  platform::DeviceCaps caps{};
  caps.dwSize = sizeof caps;
  device_->GetCapabilities(&caps);
  if ((caps.dwFlags & (platform::kDidcPolledDataFormat | platform::kDidcPolledDevice)) != 0) needsPoll_ = true;

  platform::PropDword bufferSize{};
  bufferSize.diph.dwSize = sizeof bufferSize;
  bufferSize.diph.dwHeaderSize = sizeof bufferSize.diph;
  bufferSize.diph.dwObj = 0;
  bufferSize.diph.dwHow = platform::kDiphDevice;
  bufferSize.dwData = kDeviceBufferSize;
  if (Failed(device_->SetProperty(platform::DiProperty::kBufferSize, &bufferSize.diph)) ||
      Failed(device_->SetDataFormat(platform::DiDataFormat::kJoystick2)) ||
      Failed(device_->SetCooperativeLevel(window_, platform::kDisclExclusive | platform::kDisclBackground)) ||
      Failed(device_->EnumObjects(&PadDevice::OnObjectFound, reinterpret_cast<void*>(window_),
                                  platform::kDidftAll))) {
    device_.reset();
    return;
  }
  device_->Acquire();
  if (forceFeedbackWanted_) CreateForceEffect();
}

int PadDevice::OnActuatorFound(const platform::DeviceObjectInstance& object, void* context) {
  auto* count = static_cast<std::uint32_t*>(context);
  if ((object.dwFlags & platform::kDidoiFfActuator) != 0) ++*count;
  return platform::kDiEnumContinue;
}

void PadDevice::CreateForceEffect() {
  forceAxisCount_ = 0;
  if (Failed(device_->EnumObjects(&PadDevice::OnActuatorFound, &forceAxisCount_, platform::kDidftAxis))) {
    forceAxisCount_ = 0;
    return;
  }
  if (forceAxisCount_ > kMaxForceAxes) forceAxisCount_ = kMaxForceAxes;

  std::uint32_t axes[kMaxForceAxes] = {platform::kDijofsX, platform::kDijofsY};
  std::int32_t direction[kMaxForceAxes] = {0, 0};
  platform::ConstantForce force{0};
  platform::Effect effect{};
  effect.dwSize = platform::kDiEffectSize;
  effect.dwFlags = platform::kDieffCartesian | platform::kDieffObjectOffsets;
  effect.dwDuration = platform::kInfinite;
  effect.dwSamplePeriod = 0;
  effect.dwGain = platform::kDiFfNominalMax;
  effect.dwTriggerButton = platform::kDiebNoTrigger;
  effect.dwTriggerRepeatInterval = 0;
  effect.cAxes = forceAxisCount_;
  effect.rgdwAxes = axes;
  effect.rglDirection = direction;
  effect.lpEnvelope = nullptr;
  effect.cbTypeSpecificParams = sizeof force;
  effect.lpvTypeSpecificParams = &force;
  effect.dwStartDelay = 0;
  if (Failed(device_->CreateEffect(platform::kGuidConstantForce, &effect, &effect_)) || effect_ == nullptr) {
    effect_.reset();
    device_->Acquire();
  }
}

void PadDevice::AddPulse(std::int32_t start, std::int32_t end, std::int32_t duration) {
  VibrationPulse& slot = pulses_[static_cast<std::size_t>(writePosition_)];
  slot.start = start;
  slot.end = end;
  slot.duration = duration;
  slot.remaining = duration;
  writePosition_ = static_cast<std::int16_t>((writePosition_ + 1) % static_cast<int>(kPulseSlots));
}

platform::HResult PadDevice::UpdateForce() {
  if (effect_ == nullptr) return platform::kDiOk;
  std::int32_t sum = 0;
  for (VibrationPulse& pulse : pulses_) {
    if (pulse.remaining <= 0) continue;
    --pulse.remaining;
    // A pulse gives nothing in its last cycle; duration > remaining > 0 here.
    if (pulse.remaining <= 0) continue;
    const std::int32_t travelled =
        Mul32(Sub32(pulse.end, pulse.start), pulse.duration - pulse.remaining) / pulse.duration;
    sum = Add32(sum, Add32(pulse.start, travelled));
  }

  std::int32_t direction[kMaxForceAxes] = {0, 0};
  std::int32_t magnitude = sum;
  if (forceAxisCount_ != 1) {
    // Along the diagonal of the X and Y actuators.
    direction[0] = sum;
    direction[1] = sum;
    magnitude = DiagonalMagnitude(sum);
  }
  platform::ConstantForce force{magnitude};
  platform::Effect effect{};
  effect.dwSize = platform::kDiEffectSize;
  effect.dwFlags = platform::kDieffCartesian | platform::kDieffObjectOffsets;
  effect.cAxes = forceAxisCount_;
  effect.rglDirection = direction;
  effect.cbTypeSpecificParams = sizeof force;
  effect.lpvTypeSpecificParams = &force;

  device_->Acquire();
  HResult result = effect_->SetParameters(&effect, kForceParameters);
  if (result == platform::kDiErrInputLost) result = device_->Acquire();
  return result;
}

int PadDevice::OnObjectFound(const platform::DeviceObjectInstance& object, void*) {
  PadDevice* self = gActiveDevice;
  if (self == nullptr || self->device_ == nullptr) return platform::kDiEnumContinue;
  const platform::Guid& type = object.guidType;
  if (type == platform::kGuidXAxis) {
    self->SetAxisRange(platform::kDijofsX);
  } else if (type == platform::kGuidYAxis) {
    self->SetAxisRange(platform::kDijofsY);
  } else if (type == platform::kGuidZAxis) {
    self->SetAxisRange(platform::kDijofsZ);
    self->hasZAxis_ = true;
  } else if (type == platform::kGuidRxAxis) {
    self->SetAxisRange(platform::kDijofsRx);
  } else if (type == platform::kGuidRyAxis) {
    self->SetAxisRange(platform::kDijofsRy);
  } else if (type == platform::kGuidRzAxis) {
    self->SetAxisRange(platform::kDijofsRz);
  } else if (type == platform::kGuidSlider) {
    std::uint32_t seen = self->sliderCount_;
    if (seen < kRangeSliders) self->SetAxisRange(platform::DijofsSlider(seen));
    if (seen != UINT32_MAX) self->sliderCount_ = seen + 1;
  }
  return platform::kDiEnumContinue;
}

void PadDevice::SetAxisRange(std::uint32_t offset) {
  platform::PropRange range{};
  range.diph.dwSize = sizeof range;
  range.diph.dwHeaderSize = sizeof range.diph;
  range.diph.dwObj = offset;
  range.diph.dwHow = platform::kDiphByOffset;
  range.lMin = kAxisMin;
  range.lMax = kAxisMax;
  device_->SetProperty(platform::DiProperty::kRange, &range.diph);
}

void PadDevice::Update() {
  const std::uint64_t previous = input_.held;
  std::uint64_t held = 0;
  std::uint64_t pressed = 0;
  input_.held = 0;
  input_.pressed = 0;
  if (device_ == nullptr) return;

  HResult stateRead = device_->GetDeviceState(sizeof state_, &state_);
  UpdateForce();
  if (IsLostInput(stateRead)) {
    device_->Acquire();
  } else if (stateRead == platform::kDiOk || stateRead == platform::kSFalse) {
    for (std::uint32_t i = 0; i < kButtonCount; ++i) {
      if ((state_.rgbButtons[i] & kButtonDown) != 0) held |= Bit(i);
    }
    std::uint64_t directions = 0;
    if (state_.lX > kDirectionThreshold) {
      directions |= Bit(kStickRightBit);
    } else if (state_.lX < -kDirectionThreshold) {
      directions |= Bit(kStickLeftBit);
    }
    if (state_.lY > kDirectionThreshold) {
      directions |= Bit(kStickDownBit);
    } else if (state_.lY < -kDirectionThreshold) {
      directions |= Bit(kStickUpBit);
    }
    held |= directions;
    pressed |= directions & ~previous;
  }

  eventCount_ = kEventCapacity;
  HResult dataRead = device_->GetDeviceData(sizeof(platform::DeviceObjectData), events_, &eventCount_, 0);
  if (IsLostInput(dataRead)) {
    device_->Acquire();
  } else if (dataRead == platform::kDiOk || dataRead == platform::kDiBufferOverflow) {
    // A driver may report more than the room it was given; never read past the array.
    const std::uint32_t count = eventCount_ < kEventCapacity ? eventCount_ : kEventCapacity;
    for (std::uint32_t i = 0; i < count; ++i) {
      const platform::DeviceObjectData& event = events_[i];
      if (event.dwOfs < platform::DijofsButton(0) || event.dwOfs >= platform::DijofsButton(kButtonCount)) continue;
      const std::uint64_t bit = Bit(event.dwOfs - platform::DijofsButton(0));
      if (event.dwData == kPressData) {
        pressed |= bit;
        held |= bit;
      } else if (event.dwData == kReleaseData) {
        held ^= bit;
      }
    }
  }

  input_.held = held;
  input_.pressed = pressed;
  if (needsPoll_) device_->Poll();
}

}  // namespace padtool
