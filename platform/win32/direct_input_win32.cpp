#define DIRECTINPUT_VERSION 0x0800
#include "platform/win32/direct_input_win32.h"

#include <dinput.h>

#include <cstddef>
#include <cstring>

namespace platform::win32 {

namespace {

static_assert(sizeof(Guid) == sizeof(GUID), "Guid mirrors GUID");
static_assert(sizeof(JoyState2) == sizeof(DIJOYSTATE2), "JoyState2 mirrors DIJOYSTATE2");
static_assert(sizeof(DeviceObjectData) == sizeof(DIDEVICEOBJECTDATA), "DeviceObjectData mirrors DIDEVICEOBJECTDATA");
static_assert(sizeof(DeviceCaps) == sizeof(DIDEVCAPS), "DeviceCaps mirrors DIDEVCAPS");
static_assert(sizeof(PropHeader) == sizeof(DIPROPHEADER), "PropHeader mirrors DIPROPHEADER");
static_assert(sizeof(PropDword) == sizeof(DIPROPDWORD), "PropDword mirrors DIPROPDWORD");
static_assert(sizeof(PropRange) == sizeof(DIPROPRANGE), "PropRange mirrors DIPROPRANGE");
static_assert(sizeof(Effect) == sizeof(DIEFFECT) && sizeof(Effect) == kDiEffectSize, "Effect mirrors DIEFFECT");
static_assert(offsetof(Effect, rglDirection) == offsetof(DIEFFECT, rglDirection) &&
                  offsetof(Effect, lpvTypeSpecificParams) == offsetof(DIEFFECT, lpvTypeSpecificParams) &&
                  offsetof(Effect, dwStartDelay) == offsetof(DIEFFECT, dwStartDelay),
              "Effect fields sit where DIEFFECT has them");
static_assert(sizeof(ConstantForce) == sizeof(DICONSTANTFORCE), "ConstantForce mirrors DICONSTANTFORCE");

constexpr HResult kModuleNotFound = static_cast<HResult>(0x8007007Eu);  // HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND)

Guid ToGuid(const GUID& guid) {
  Guid result;
  std::memcpy(&result, &guid, sizeof result);
  return result;
}

struct DeviceEnumContext {
  DeviceCallback callback;
  void* context;
};

BOOL CALLBACK DeviceTrampoline(LPCDIDEVICEINSTANCEA instance, LPVOID raw) {
  auto* enumeration = static_cast<DeviceEnumContext*>(raw);
  DeviceInstance copy{ToGuid(instance->guidInstance), ToGuid(instance->guidProduct), instance->dwDevType};
  return enumeration->callback(copy, enumeration->context);
}

struct ObjectEnumContext {
  ObjectCallback callback;
  void* context;
};

BOOL CALLBACK ObjectTrampoline(LPCDIDEVICEOBJECTINSTANCEA object, LPVOID raw) {
  auto* enumeration = static_cast<ObjectEnumContext*>(raw);
  DeviceObjectInstance copy{ToGuid(object->guidType), object->dwOfs, object->dwType, object->dwFlags};
  return enumeration->callback(copy, enumeration->context);
}

class Win32Effect : public DirectInputEffect {
 public:
  explicit Win32Effect(IDirectInputEffect* effect) : effect_(effect) {}
  ~Win32Effect() override { effect_->Release(); }
  Win32Effect(const Win32Effect&) = delete;
  Win32Effect& operator=(const Win32Effect&) = delete;

  HResult SetParameters(const Effect* effect, std::uint32_t flags) override {
    return effect_->SetParameters(reinterpret_cast<const DIEFFECT*>(effect), flags);
  }

 private:
  IDirectInputEffect* effect_;
};

class Win32InputDevice : public DirectInputDevice {
 public:
  explicit Win32InputDevice(IDirectInputDevice8A* device) : device_(device) {}
  ~Win32InputDevice() override { device_->Release(); }
  Win32InputDevice(const Win32InputDevice&) = delete;
  Win32InputDevice& operator=(const Win32InputDevice&) = delete;

  HResult GetCapabilities(DeviceCaps* caps) override {
    return device_->GetCapabilities(reinterpret_cast<DIDEVCAPS*>(caps));
  }
  HResult SetProperty(DiProperty property, const PropHeader* header) override {
    const auto* raw = reinterpret_cast<const DIPROPHEADER*>(header);
    switch (property) {
      case DiProperty::kBufferSize:
        return device_->SetProperty(DIPROP_BUFFERSIZE, raw);
      case DiProperty::kRange:
        return device_->SetProperty(DIPROP_RANGE, raw);
    }
    return DIERR_INVALIDPARAM;
  }
  HResult SetDataFormat(DiDataFormat format) override {
    switch (format) {
      case DiDataFormat::kJoystick2:
        return device_->SetDataFormat(&c_dfDIJoystick2);
    }
    return DIERR_INVALIDPARAM;
  }
  HResult SetCooperativeLevel(WindowId window, std::uint32_t flags) override {
    return device_->SetCooperativeLevel(reinterpret_cast<HWND>(window), flags);
  }
  HResult EnumObjects(ObjectCallback callback, void* context, std::uint32_t flags) override {
    ObjectEnumContext enumeration{callback, context};
    return device_->EnumObjects(&ObjectTrampoline, &enumeration, flags);
  }
  HResult Acquire() override { return device_->Acquire(); }
  HResult Unacquire() override { return device_->Unacquire(); }
  HResult GetDeviceState(std::uint32_t size, void* data) override { return device_->GetDeviceState(size, data); }
  HResult GetDeviceData(std::uint32_t objectSize, DeviceObjectData* events, std::uint32_t* count,
                        std::uint32_t flags) override {
    DWORD inOut = *count;
    HRESULT result =
        device_->GetDeviceData(objectSize, reinterpret_cast<DIDEVICEOBJECTDATA*>(events), &inOut, flags);
    *count = inOut;
    return result;
  }
  HResult Poll() override { return device_->Poll(); }
  HResult CreateEffect(const Guid& effectType, const Effect* parameters,
                       std::unique_ptr<DirectInputEffect>* effect) override {
    GUID guid;
    std::memcpy(&guid, &effectType, sizeof guid);
    IDirectInputEffect* raw = nullptr;
    HRESULT result = device_->CreateEffect(guid, reinterpret_cast<const DIEFFECT*>(parameters), &raw, nullptr);
    if (SUCCEEDED(result) && raw != nullptr) {
      *effect = std::make_unique<Win32Effect>(raw);
    } else if (SUCCEEDED(result)) {
      result = E_POINTER;
    }
    return result;
  }

 private:
  IDirectInputDevice8A* device_;
};

class Win32DirectInput : public DirectInput {
 public:
  explicit Win32DirectInput(IDirectInput8A* object) : object_(object) {}
  ~Win32DirectInput() override { object_->Release(); }
  Win32DirectInput(const Win32DirectInput&) = delete;
  Win32DirectInput& operator=(const Win32DirectInput&) = delete;

  HResult EnumDevices(std::uint32_t deviceClass, DeviceCallback callback, void* context,
                      std::uint32_t flags) override {
    DeviceEnumContext enumeration{callback, context};
    return object_->EnumDevices(deviceClass, &DeviceTrampoline, &enumeration, flags);
  }
  HResult CreateDevice(const Guid& instance, std::unique_ptr<DirectInputDevice>* device) override {
    GUID guid;
    std::memcpy(&guid, &instance, sizeof guid);
    IDirectInputDevice8A* raw = nullptr;
    HRESULT result = object_->CreateDevice(guid, &raw, nullptr);
    if (SUCCEEDED(result) && raw != nullptr) {
      *device = std::make_unique<Win32InputDevice>(raw);
    } else if (SUCCEEDED(result)) {
      result = E_POINTER;
    }
    return result;
  }

 private:
  IDirectInput8A* object_;
};

}  // namespace

HResult Win32DirectInputProvider::Create(ModuleToken instance, std::uint32_t version,
                                         std::unique_ptr<DirectInput>* object) {
  if (create_ == nullptr) {
    if (!module_) module_.reset(LoadLibraryA("dinput8.dll"));
    if (!module_) return kModuleNotFound;
    create_ = reinterpret_cast<CreateProc>(
        reinterpret_cast<void*>(GetProcAddress(module_.get(), "DirectInput8Create")));
    if (create_ == nullptr) return kModuleNotFound;
  }
  void* raw = nullptr;
  HRESULT result = create_(reinterpret_cast<HINSTANCE>(instance), version, IID_IDirectInput8A, &raw, nullptr);
  if (SUCCEEDED(result) && raw != nullptr) {
    *object = std::make_unique<Win32DirectInput>(static_cast<IDirectInput8A*>(raw));
  } else if (SUCCEEDED(result)) {
    result = E_POINTER;
  }
  return result;
}

}  // namespace platform::win32
