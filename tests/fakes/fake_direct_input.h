// Scripted DirectInput 8 for native tests: a list of attached controllers with
// their objects, results to return, live state and queued events, and a record
// of every call the tool made, the constant-force effect included. The
// read-cycle calls (GetDeviceState, GetDeviceData, Acquire, Poll and the
// effect's SetParameters) allocate nothing while `logging` is off, so the same
// fake serves the allocation count and the benchmark.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/direct_input.h"

namespace fakes {

// A DIEFFECT as CreateEffect received it, with its arrays copied.
struct CreatedEffect {
  platform::Guid type{};
  platform::Effect fields{};  // the pointers as passed; only compared with null
  std::vector<std::uint32_t> axes;
  std::vector<std::int32_t> direction;
  std::int32_t magnitude = 0;  // of the DICONSTANTFORCE, when 4 bytes were given
};

// One SetParameters call of the effect.
struct SentForce {
  std::uint32_t flags = 0;  // DIEP_*
  std::uint32_t size = 0;
  std::uint32_t effectFlags = 0;  // DIEFF_*
  std::uint32_t axisCount = 0;
  std::int32_t direction[2] = {0, 0};
  std::int32_t magnitude = 0;
  std::uint32_t typeSpecificSize = 0;
  bool otherFieldsZero = false;  // every field not named above is 0 or null
};

struct FakeController {
  platform::Guid instance{};
  bool forceFeedback = false;
  platform::HResult createResult = platform::kDiOk;
  std::uint32_t capsFlags = 0;
  std::vector<platform::DeviceObjectInstance> objects;
  platform::HResult bufferSizeResult = platform::kDiOk;
  platform::HResult dataFormatResult = platform::kDiOk;
  platform::HResult cooperativeResult = platform::kDiOk;
  platform::HResult enumObjectsResult = platform::kDiOk;
  platform::HResult axisEnumResult = platform::kDiOk;  // EnumObjects with DIDFT_AXIS
  platform::HResult createEffectResult = platform::kDiOk;
  platform::HResult setParametersResult = platform::kDiOk;

  // Live input.
  platform::JoyState2 state{};
  platform::HResult stateResult = platform::kDiOk;
  std::array<platform::DeviceObjectData, 64> events{};
  std::uint32_t eventCount = 0;                // queued events handed out by the next GetDeviceData
  platform::HResult dataResult = platform::kDiOk;
  std::uint32_t reportedCountOverride = 0;     // non-zero: the count GetDeviceData claims to return

  // What the tool asked for.
  bool opened = false;
  bool released = false;
  std::vector<std::uint32_t> capsSizes;
  std::vector<platform::PropDword> bufferSizes;
  std::vector<platform::PropRange> ranges;
  std::vector<platform::DiDataFormat> dataFormats;
  std::vector<std::pair<platform::WindowId, std::uint32_t>> cooperativeLevels;
  std::vector<std::pair<void*, std::uint32_t>> objectEnumerations;  // context, flags
  int acquires = 0;
  int unacquires = 0;
  int polls = 0;
  int stateReads = 0;
  int dataReads = 0;
  std::uint32_t lastStateSize = 0;
  std::uint32_t lastObjectSize = 0;
  std::uint32_t lastRoom = 0;
  std::uint32_t lastDataFlags = 0xFFFFFFFF;
  std::vector<CreatedEffect> effects;
  bool effectReleased = false;
  std::array<SentForce, 64> sent{};  // ring: call n at n % 64
  std::size_t sentCount = 0;

  // The i-th SetParameters call (0 = the first); only the last 64 are kept.
  const SentForce& Sent(std::size_t i) const { return sent[i % sent.size()]; }

  void Press(std::uint32_t button) { Queue(platform::DijofsButton(button), 0x80); }
  void Release(std::uint32_t button) { Queue(platform::DijofsButton(button), 0); }
  void Queue(std::uint32_t offset, std::uint32_t data) {
    if (eventCount < events.size()) events[eventCount++] = platform::DeviceObjectData{offset, data, 0, 0, 0};
  }
  void Hold(std::uint32_t button, bool down) { state.rgbButtons[button] = down ? 0x80 : 0x00; }
};

class FakeDirectInputSystem;

namespace detail {

inline void Log(FakeDirectInputSystem* system, const char* call);

class FakeEffect : public platform::DirectInputEffect {
 public:
  FakeEffect(FakeDirectInputSystem* system, FakeController* controller) : system_(system), controller_(controller) {}
  ~FakeEffect() override {
    controller_->effectReleased = true;
    Log(system_, "Release effect");
  }
  platform::HResult SetParameters(const platform::Effect* effect, std::uint32_t flags) override {
    Log(system_, "SetParameters");
    SentForce& sent = controller_->sent[controller_->sentCount++ % controller_->sent.size()];
    sent = SentForce{};
    sent.flags = flags;
    sent.size = effect->dwSize;
    sent.effectFlags = effect->dwFlags;
    sent.axisCount = effect->cAxes;
    if (effect->rglDirection != nullptr) {
      for (std::uint32_t i = 0; i < effect->cAxes && i < 2; ++i) sent.direction[i] = effect->rglDirection[i];
    }
    sent.typeSpecificSize = effect->cbTypeSpecificParams;
    if (effect->lpvTypeSpecificParams != nullptr && effect->cbTypeSpecificParams == 4) {
      sent.magnitude = static_cast<const platform::ConstantForce*>(effect->lpvTypeSpecificParams)->lMagnitude;
    }
    sent.otherFieldsZero = effect->dwDuration == 0 && effect->dwSamplePeriod == 0 && effect->dwGain == 0 &&
                           effect->dwTriggerButton == 0 && effect->dwTriggerRepeatInterval == 0 &&
                           effect->rgdwAxes == nullptr && effect->lpEnvelope == nullptr &&
                           effect->dwStartDelay == 0;
    return controller_->setParametersResult;
  }

 private:
  FakeDirectInputSystem* system_;
  FakeController* controller_;
};

class FakeDevice : public platform::DirectInputDevice {
 public:
  FakeDevice(FakeDirectInputSystem* system, FakeController* controller) : system_(system), controller_(controller) {
    controller_->opened = true;
  }
  ~FakeDevice() override {
    controller_->released = true;
    Log(system_, "Release device");
  }
  platform::HResult GetCapabilities(platform::DeviceCaps* caps) override {
    Log(system_, "GetCapabilities");
    controller_->capsSizes.push_back(caps->dwSize);
    caps->dwFlags = controller_->capsFlags;
    return platform::kDiOk;
  }
  platform::HResult SetProperty(platform::DiProperty property, const platform::PropHeader* header) override {
    Log(system_, "SetProperty");
    if (property == platform::DiProperty::kBufferSize) {
      platform::PropDword value;
      std::memcpy(&value, header, sizeof value);
      controller_->bufferSizes.push_back(value);
      return controller_->bufferSizeResult;
    }
    platform::PropRange value;
    std::memcpy(&value, header, sizeof value);
    controller_->ranges.push_back(value);
    return platform::kDiOk;
  }
  platform::HResult SetDataFormat(platform::DiDataFormat format) override {
    Log(system_, "SetDataFormat");
    controller_->dataFormats.push_back(format);
    return controller_->dataFormatResult;
  }
  platform::HResult SetCooperativeLevel(platform::WindowId window, std::uint32_t flags) override {
    Log(system_, "SetCooperativeLevel");
    controller_->cooperativeLevels.emplace_back(window, flags);
    return controller_->cooperativeResult;
  }
  platform::HResult EnumObjects(platform::ObjectCallback callback, void* context, std::uint32_t flags) override {
    Log(system_, "EnumObjects");
    controller_->objectEnumerations.emplace_back(context, flags);
    const platform::HResult result =
        flags == platform::kDidftAxis ? controller_->axisEnumResult : controller_->enumObjectsResult;
    if (result < 0) return result;
    for (const auto& object : controller_->objects) {
      if (callback(object, context) == platform::kDiEnumStop) break;
    }
    return result;
  }
  platform::HResult Acquire() override {
    Log(system_, "Acquire");
    ++controller_->acquires;
    return platform::kDiOk;
  }
  platform::HResult Unacquire() override {
    Log(system_, "Unacquire");
    ++controller_->unacquires;
    return platform::kDiOk;
  }
  platform::HResult GetDeviceState(std::uint32_t size, void* data) override {
    Log(system_, "GetDeviceState");
    ++controller_->stateReads;
    controller_->lastStateSize = size;
    if (controller_->stateResult == platform::kDiOk || controller_->stateResult == platform::kSFalse) {
      std::memcpy(data, &controller_->state, size < sizeof controller_->state ? size : sizeof controller_->state);
    }
    return controller_->stateResult;
  }
  platform::HResult GetDeviceData(std::uint32_t objectSize, platform::DeviceObjectData* events, std::uint32_t* count,
                                  std::uint32_t flags) override {
    Log(system_, "GetDeviceData");
    ++controller_->dataReads;
    controller_->lastObjectSize = objectSize;
    controller_->lastRoom = *count;
    controller_->lastDataFlags = flags;
    platform::HResult result = controller_->dataResult;
    if (result != platform::kDiOk && result != platform::kDiBufferOverflow) {
      *count = 0;
      return result;
    }
    std::uint32_t room = *count;
    std::uint32_t given = controller_->eventCount < room ? controller_->eventCount : room;
    for (std::uint32_t i = 0; i < given; ++i) events[i] = controller_->events[i];
    // Keep the events that did not fit for the next read, in order.
    std::uint32_t left = controller_->eventCount - given;
    for (std::uint32_t i = 0; i < left; ++i) controller_->events[i] = controller_->events[given + i];
    controller_->eventCount = left;
    *count = controller_->reportedCountOverride != 0 ? controller_->reportedCountOverride : given;
    return result;
  }
  platform::HResult Poll() override {
    Log(system_, "Poll");
    ++controller_->polls;
    return platform::kDiOk;
  }
  platform::HResult CreateEffect(const platform::Guid& type, const platform::Effect* parameters,
                                 std::unique_ptr<platform::DirectInputEffect>* effect) override {
    Log(system_, "CreateEffect");
    CreatedEffect& created = controller_->effects.emplace_back();
    created.type = type;
    created.fields = *parameters;
    for (std::uint32_t i = 0; i < parameters->cAxes; ++i) {
      if (parameters->rgdwAxes != nullptr) created.axes.push_back(parameters->rgdwAxes[i]);
      if (parameters->rglDirection != nullptr) created.direction.push_back(parameters->rglDirection[i]);
    }
    if (parameters->lpvTypeSpecificParams != nullptr && parameters->cbTypeSpecificParams == 4) {
      created.magnitude = static_cast<const platform::ConstantForce*>(parameters->lpvTypeSpecificParams)->lMagnitude;
    }
    if (controller_->createEffectResult < 0) return controller_->createEffectResult;
    *effect = std::make_unique<FakeEffect>(system_, controller_);
    return controller_->createEffectResult;
  }

 private:
  FakeDirectInputSystem* system_;
  FakeController* controller_;
};

}  // namespace detail

struct EnumerationCall {
  std::uint32_t deviceClass;
  std::uint32_t flags;
  void* context;
};

// The provider: creates FakeDirectInput objects over the scripted controllers.
class FakeDirectInputSystem : public platform::DirectInputProvider {
 public:
  std::deque<FakeController> controllers;  // in DirectInput's enumeration order
  platform::HResult createResult = platform::kDiOk;
  std::deque<platform::HResult> enumerationResults;  // per EnumDevices call; DI_OK when empty

  std::vector<std::pair<platform::ModuleToken, std::uint32_t>> creations;  // instance, version
  std::vector<EnumerationCall> enumerations;
  int createDeviceCalls = 0;
  bool directInputReleased = false;
  bool logging = true;
  std::vector<std::string> log;

  FakeController& Add(std::uint32_t id, bool forceFeedback = false) {
    FakeController& controller = controllers.emplace_back();
    controller.instance = platform::Guid{id, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};
    controller.forceFeedback = forceFeedback;
    return controller;
  }

  platform::HResult Create(platform::ModuleToken instance, std::uint32_t version,
                           std::unique_ptr<platform::DirectInput>* object) override {
    Record("DirectInput8Create");
    creations.emplace_back(instance, version);
    if (createResult < 0) return createResult;
    *object = std::make_unique<Object>(this);
    return createResult;
  }

  void Record(const char* call) {
    if (logging) log.emplace_back(call);
  }

 private:
  class Object : public platform::DirectInput {
   public:
    explicit Object(FakeDirectInputSystem* system) : system_(system) {}
    ~Object() override {
      system_->directInputReleased = true;
      system_->Record("Release DirectInput");
    }
    platform::HResult EnumDevices(std::uint32_t deviceClass, platform::DeviceCallback callback, void* context,
                                  std::uint32_t flags) override {
      system_->Record("EnumDevices");
      system_->enumerations.push_back({deviceClass, flags, context});
      platform::HResult result = platform::kDiOk;
      if (!system_->enumerationResults.empty()) {
        result = system_->enumerationResults.front();
        system_->enumerationResults.pop_front();
      }
      if (result < 0) return result;
      for (auto& controller : system_->controllers) {
        if ((flags & platform::kDiEdflForceFeedback) != 0 && !controller.forceFeedback) continue;
        if (callback(platform::DeviceInstance{controller.instance, {}, 0}, context) == platform::kDiEnumStop) break;
      }
      return result;
    }
    platform::HResult CreateDevice(const platform::Guid& instance,
                                   std::unique_ptr<platform::DirectInputDevice>* device) override {
      system_->Record("CreateDevice");
      ++system_->createDeviceCalls;
      for (auto& controller : system_->controllers) {
        if (controller.instance != instance) continue;
        if (controller.createResult < 0) return controller.createResult;
        *device = std::make_unique<detail::FakeDevice>(system_, &controller);
        return platform::kDiOk;
      }
      return platform::kDiErrDeviceNotReg;
    }

   private:
    FakeDirectInputSystem* system_;
  };
};

namespace detail {
inline void Log(FakeDirectInputSystem* system, const char* call) { system->Record(call); }
}  // namespace detail

// Object instances for scripting a controller's objects.
inline platform::DeviceObjectInstance Object(const platform::Guid& type, std::uint32_t flags = 0) {
  return platform::DeviceObjectInstance{type, 0, 0, flags};
}

}  // namespace fakes
