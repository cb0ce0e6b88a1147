// DirectInput8Create and the virtual IDirectInput8A: device enumeration and
// creation over the devices the driver configured.
#include <cstring>
#include <new>

#include "dll_objects.h"

namespace vpad::dll {
namespace {

constexpr DWORD kKnownEnumFlags = DIEDFL_ATTACHEDONLY | DIEDFL_FORCEFEEDBACK |
                                  DIEDFL_INCLUDEALIASES | DIEDFL_INCLUDEPHANTOMS |
                                  DIEDFL_INCLUDEHIDDEN;

// Every virtual device is a game controller: listed for all devices, for the
// game-controller class and for its own device type.
bool ClassMatches(DWORD devType, const DeviceConfig& device) {
  const DWORD type = devType & 0xFF;
  if (type == DI8DEVCLASS_ALL) return true;
  if (type == DI8DEVCLASS_GAMECTRL) {
    const DWORD own = device.devType & 0xFF;
    return own >= DI8DEVTYPE_JOYSTICK && own <= DI8DEVTYPE_1STPERSON;
  }
  if (type >= DI8DEVTYPE_DEVICE) return type == (device.devType & 0xFF);
  return false;
}

bool ValidDevType(DWORD devType) {
  const DWORD type = devType & 0xFF;
  return (devType & ~0xFFu) == 0 && (type <= DI8DEVCLASS_GAMECTRL ||
                                     (type >= DI8DEVTYPE_DEVICE && type <= DI8DEVTYPE_SUPPLEMENTAL));
}

// Fixed GUID reported as the force-feedback driver of devices that have one.
constexpr GUID kFeedbackDriver = {0x56504144, 0x4646, 0x4456, {'V', 'P', 'A', 'D', 'F', 'F', 'D', 'R'}};

int DeviceIndexOf(const Block& block, const GUID& instance) {
  for (std::uint32_t i = 0; i < block.deviceCount && i < kMaxDevices; ++i) {
    if (IsEqualGUID(block.devices[i].instance, instance)) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

void FillInstance(const DeviceConfig& device, DIDEVICEINSTANCEA& instance) {
  std::memset(&instance, 0, sizeof instance);
  instance.dwSize = sizeof instance;
  instance.guidInstance = device.instance;
  instance.guidProduct = device.product;
  instance.dwDevType = device.devType;
  CopyText(instance.tszInstanceName, sizeof instance.tszInstanceName, device.instanceName);
  CopyText(instance.tszProductName, sizeof instance.tszProductName, device.productName);
  if (device.forceFeedback != 0) instance.guidFFDriver = kFeedbackDriver;
  instance.wUsagePage = 0x01;  // generic desktop
  instance.wUsage = (device.devType & 0xFF) == DI8DEVTYPE_GAMEPAD ? 0x05 : 0x04;
}

VirtualInput::VirtualInput(Block& block) { ++block.record.inputsAlive; }

STDMETHODIMP VirtualInput::QueryInterface(REFIID iid, void** object) {
  BlockLock lock;
  if (!lock) return DIERR_GENERIC;
  const CallScope scope = BeginCall(*lock, Call::InputQueryInterface, -1);
  if (object == nullptr) return EndCall(*lock, scope, E_POINTER);
  *object = nullptr;
  if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDirectInput8A)) {
    return EndCall(*lock, scope, E_NOINTERFACE);
  }
  InterlockedIncrement(&refs_);
  *object = static_cast<IDirectInput8A*>(this);
  return EndCall(*lock, scope, DI_OK);
}

STDMETHODIMP_(ULONG) VirtualInput::AddRef() {
  BlockLock lock;
  if (lock) {
    const CallScope scope = BeginCall(*lock, Call::InputAddRef, -1);
    EndCall(*lock, scope, DI_OK);
  }
  return static_cast<ULONG>(InterlockedIncrement(&refs_));
}

STDMETHODIMP_(ULONG) VirtualInput::Release() {
  const LONG left = InterlockedDecrement(&refs_);
  BlockLock lock;
  if (lock) {
    const CallScope scope = BeginCall(*lock, Call::InputRelease, -1);
    EndCall(*lock, scope, DI_OK);
    if (left == 0) --lock->record.inputsAlive;
  }
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

void VirtualInput::DropDeviceReference() {
  if (InterlockedDecrement(&refs_) != 0) return;
  BlockLock lock;
  if (lock) --lock->record.inputsAlive;
  lock.Unlock();
  delete this;
}

STDMETHODIMP VirtualInput::CreateDevice(REFGUID instance, LPDIRECTINPUTDEVICE8A* device,
                                        LPUNKNOWN outer) {
  BlockLock lock;
  if (!lock) return DIERR_GENERIC;
  Block& block = *lock;
  const CallScope scope = BeginCall(block, Call::CreateDevice, -1);
  const std::uint32_t recordIndex = block.record.createDeviceCount++;
  CreateDeviceRecord* record =
      recordIndex < kMaxCreateDevices ? &block.record.createDevices[recordIndex] : nullptr;
  if (record != nullptr) *record = CreateDeviceRecord{instance, -1, outer != nullptr, DI_OK};
  auto finish = [&](HRESULT own) {
    const HRESULT result = EndCall(block, scope, own);
    if (record != nullptr) record->result = result;
    return result;
  };

  if (device == nullptr) return finish(DIERR_INVALIDPARAM);
  *device = nullptr;
  if (scope.ForcedFailure()) return finish(scope.forcedResult);
  if (outer != nullptr) return finish(DIERR_NOAGGREGATION);
  const int index = DeviceIndexOf(block, instance);
  if (index < 0 || block.devices[index].attached == 0) return finish(DIERR_DEVICENOTREG);
  auto* created = new (std::nothrow) VirtualDevice(block, this, static_cast<std::uint32_t>(index));
  if (created == nullptr) return finish(DIERR_OUTOFMEMORY);
  if (record != nullptr) record->device = index;
  *device = created;
  return finish(DI_OK);
}

STDMETHODIMP VirtualInput::EnumDevices(DWORD devType, LPDIENUMDEVICESCALLBACKA callback,
                                       LPVOID context, DWORD flags) {
  DIDEVICEINSTANCEA listed[kMaxDevices];
  std::uint32_t listedCount = 0;
  std::uint32_t recordIndex = 0;
  HRESULT result = DI_OK;
  {
    BlockLock lock;
    if (!lock) return DIERR_GENERIC;
    Block& block = *lock;
    const CallScope scope = BeginCall(block, Call::EnumDevices, -1);
    recordIndex = block.record.enumDevicesCount++;
    EnumDevicesRecord* record =
        recordIndex < kMaxEnumDevices ? &block.record.enumDevices[recordIndex] : nullptr;
    if (record != nullptr) *record = EnumDevicesRecord{devType, flags, 0, 0, DI_OK};
    HRESULT own = DI_OK;
    if (callback == nullptr || !ValidDevType(devType) || (flags & ~kKnownEnumFlags) != 0) {
      own = DIERR_INVALIDPARAM;
    }
    result = EndCall(block, scope, own);
    if (record != nullptr) record->result = result;
    if (FAILED(result)) return result;
    for (std::uint32_t i = 0; i < block.deviceCount && i < kMaxDevices; ++i) {
      const DeviceConfig& device = block.devices[i];
      if (!ClassMatches(devType, device)) continue;
      if ((flags & DIEDFL_ATTACHEDONLY) != 0 && device.attached == 0) continue;
      if ((flags & DIEDFL_FORCEFEEDBACK) != 0 && device.forceFeedback == 0) continue;
      FillInstance(device, listed[listedCount++]);
    }
    if (listedCount == 0) return result;
  }

  // The callback may call back into DirectInput (CreateDevice), so the block
  // is not held while it runs.
  std::uint32_t callbacks = 0;
  bool stopped = false;
  for (std::uint32_t i = 0; i < listedCount && !stopped; ++i) {
    ++callbacks;
    stopped = callback(&listed[i], context) == DIENUM_STOP;
  }
  BlockLock lock;
  if (lock && recordIndex < kMaxEnumDevices) {
    lock->record.enumDevices[recordIndex].callbacks = callbacks;
    lock->record.enumDevices[recordIndex].stopped = stopped;
  }
  return result;
}

STDMETHODIMP VirtualInput::GetDeviceStatus(REFGUID instance) {
  BlockLock lock;
  if (!lock) return DIERR_GENERIC;
  const int index = DeviceIndexOf(*lock, instance);
  const CallScope scope = BeginCall(*lock, Call::GetDeviceStatus, index);
  if (scope.ForcedFailure()) return EndCall(*lock, scope, scope.forcedResult);
  if (index < 0) return EndCall(*lock, scope, DIERR_DEVICENOTREG);
  return EndCall(*lock, scope, lock->devices[index].attached != 0 ? DI_OK : DI_NOTATTACHED);
}

STDMETHODIMP VirtualInput::RunControlPanel(HWND, DWORD) {
  return Unsupported("IDirectInput8::RunControlPanel", -1);
}

STDMETHODIMP VirtualInput::Initialize(HINSTANCE, DWORD) {
  return Unsupported("IDirectInput8::Initialize", -1);
}

STDMETHODIMP VirtualInput::FindDevice(REFGUID, LPCSTR, LPGUID) {
  return Unsupported("IDirectInput8::FindDevice", -1);
}

STDMETHODIMP VirtualInput::EnumDevicesBySemantics(LPCSTR, LPDIACTIONFORMATA,
                                                  LPDIENUMDEVICESBYSEMANTICSCBA, LPVOID, DWORD) {
  return Unsupported("IDirectInput8::EnumDevicesBySemantics", -1);
}

STDMETHODIMP VirtualInput::ConfigureDevices(LPDICONFIGUREDEVICESCALLBACK,
                                            LPDICONFIGUREDEVICESPARAMSA, DWORD, LPVOID) {
  return Unsupported("IDirectInput8::ConfigureDevices", -1);
}

}  // namespace vpad::dll

using vpad::dll::BlockLock;

extern "C" HRESULT WINAPI DirectInput8Create(HINSTANCE instance, DWORD version, REFIID iid,
                                             LPVOID* object, LPUNKNOWN outer) {
  if (object != nullptr) *object = nullptr;
  if (!vpad::dll::Connect()) return DIERR_NOTINITIALIZED;
  BlockLock lock;
  if (!lock) return DIERR_GENERIC;
  vpad::Block& block = *lock;
  const vpad::dll::CallScope scope = vpad::dll::BeginCall(block, vpad::Call::DirectInput8Create, -1);
  const std::uint32_t recordIndex = block.record.createCount++;
  vpad::CreateRecord* record =
      recordIndex < vpad::kMaxCreates ? &block.record.creates[recordIndex] : nullptr;
  if (record != nullptr) {
    *record = vpad::CreateRecord{version, iid, instance != nullptr, outer != nullptr, DI_OK};
  }
  auto finish = [&](HRESULT own) {
    const HRESULT result = vpad::dll::EndCall(block, scope, own);
    if (record != nullptr) record->result = result;
    return result;
  };

  if (object == nullptr) return finish(DIERR_INVALIDPARAM);
  if (scope.ForcedFailure()) return finish(scope.forcedResult);
  if (instance == nullptr) return finish(DIERR_INVALIDPARAM);
  if (version < 0x0800) return finish(DIERR_OLDDIRECTINPUTVERSION);
  if (version > 0x0800) return finish(DIERR_BETADIRECTINPUTVERSION);
  if (outer != nullptr) return finish(DIERR_NOAGGREGATION);
  if (!IsEqualIID(iid, IID_IDirectInput8A)) return finish(E_NOINTERFACE);
  auto* created = new (std::nothrow) vpad::dll::VirtualInput(block);
  if (created == nullptr) return finish(DIERR_OUTOFMEMORY);
  *object = static_cast<IDirectInput8A*>(created);
  return finish(DI_OK);
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_DETACH) vpad::dll::Disconnect();
  return TRUE;
}
