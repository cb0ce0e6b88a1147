// The virtual IDirectInputDevice8A: capabilities, objects, properties, data
// format, cooperative level, acquisition, immediate state and buffered events
// of one configured device, each call recorded in the block.
#include <cstring>
#include <new>

#include "dll_objects.h"

namespace vpad::dll {
namespace {

constexpr std::uint32_t kBufferSizeProperty = 1;
constexpr std::uint32_t kRangeProperty = 4;

bool IsPolled(const DeviceConfig& device) {
  return (device.capsFlags & (DIDC_POLLEDDEVICE | DIDC_POLLEDDATAFORMAT)) != 0;
}

// DIDFT_ALL lists everything; type bits pick the object types they name;
// attribute bits (actuator, trigger, output) must all be present; aliases and
// vendor-defined objects appear only when asked for.
bool ObjectMatches(DWORD type, DWORD filter) {
  const DWORD types = filter & 0xFF;
  if (types != 0 && (type & types) == 0) return false;
  constexpr DWORD kAttributes =
      DIDFT_FFACTUATOR | DIDFT_FFEFFECTTRIGGER | DIDFT_OUTPUT | DIDFT_ALIAS | DIDFT_VENDORDEFINED;
  const DWORD required = filter & kAttributes;
  if ((type & required) != required) return false;
  return (type & (DIDFT_ALIAS | DIDFT_VENDORDEFINED) & ~filter) == 0;
}

bool SameGuid(const GUID* a, const GUID* b) {
  if (a == nullptr || b == nullptr) return a == b;
  return IsEqualGUID(*a, *b) != 0;
}

bool MatchesJoystick2(const DIDATAFORMAT& format) {
  const DIDATAFORMAT& reference = c_dfDIJoystick2;
  if (format.dwSize != reference.dwSize || format.dwObjSize != reference.dwObjSize ||
      format.dwFlags != reference.dwFlags || format.dwDataSize != reference.dwDataSize ||
      format.dwNumObjs != reference.dwNumObjs || format.rgodf == nullptr) {
    return false;
  }
  for (DWORD i = 0; i < format.dwNumObjs; ++i) {
    const DIOBJECTDATAFORMAT& a = format.rgodf[i];
    const DIOBJECTDATAFORMAT& b = reference.rgodf[i];
    if (!SameGuid(a.pguid, b.pguid) || a.dwOfs != b.dwOfs || a.dwType != b.dwType ||
        a.dwFlags != b.dwFlags) {
      return false;
    }
  }
  return true;
}

bool TopLevelWindowOfThisProcess(HWND window) {
  if (window == nullptr || !IsWindow(window) || GetAncestor(window, GA_ROOT) != window) return false;
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  return process == GetCurrentProcessId();
}

void ClearEvents(DeviceLive& live) {
  live.eventHead = 0;
  live.eventCount = 0;
  live.eventsVisible = 0;
  live.overflowed = 0;
}

}  // namespace

const ObjectConfig* FindObject(const DeviceConfig& device, DWORD value, bool byOffset) {
  constexpr DWORD kIdBits = DIDFT_INSTANCEMASK | 0xFF;
  for (std::uint32_t i = 0; i < device.objectCount && i < kMaxObjects; ++i) {
    const ObjectConfig& object = device.objects[i];
    if (byOffset ? (object.ofs != kNoOffset && object.ofs == value)
                 : (object.type & kIdBits) == (value & kIdBits)) {
      return &object;
    }
  }
  return nullptr;
}

VirtualDevice::VirtualDevice(Block& block, VirtualInput* parent, std::uint32_t index)
    : parent_(parent), index_(index) {
  parent_->HoldForDevice();
  DeviceLive& live = block.live[index_];
  live.bufferSize = 0;
  live.acquired = 0;
  ClearEvents(live);
  ++block.record.devicesAlive;
}

HRESULT VirtualDevice::Acquisition(Block& block) {
  if (!acquired_) return DIERR_NOTACQUIRED;
  DeviceLive& live = block.live[index_];
  if (live.lossGeneration != acquiredGeneration_) {
    acquired_ = false;
    live.acquired = 0;
    StopEffects();
    return DIERR_INPUTLOST;
  }
  return DI_OK;
}

HRESULT VirtualDevice::ExclusiveAcquisition(Block& block) {
  const HRESULT state = Acquisition(block);
  if (state == DIERR_INPUTLOST) return DIERR_INPUTLOST;
  if (FAILED(state) || (cooperativeFlags_ & DISCL_EXCLUSIVE) == 0) return DIERR_NOTEXCLUSIVEACQUIRED;
  return DI_OK;
}

void VirtualDevice::StopEffects() {
  for (VirtualEffect* effect : effects_) {
    if (effect != nullptr) effect->StopPlaying();
  }
}

void VirtualDevice::ForgetEffect(VirtualEffect* effect) {
  for (VirtualEffect*& slot : effects_) {
    if (slot == effect) slot = nullptr;
  }
}

STDMETHODIMP VirtualDevice::QueryInterface(REFIID iid, void** object) {
  BlockLock lock;
  if (!lock) return DIERR_GENERIC;
  const CallScope scope = BeginCall(*lock, Call::DeviceQueryInterface, Index());
  if (object == nullptr) return EndCall(*lock, scope, E_POINTER);
  *object = nullptr;
  if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDirectInputDevice8A)) {
    return EndCall(*lock, scope, E_NOINTERFACE);
  }
  InterlockedIncrement(&refs_);
  *object = static_cast<IDirectInputDevice8A*>(this);
  return EndCall(*lock, scope, DI_OK);
}

STDMETHODIMP_(ULONG) VirtualDevice::AddRef() {
  BlockLock lock;
  if (lock) {
    const CallScope scope = BeginCall(*lock, Call::DeviceAddRef, Index());
    EndCall(*lock, scope, DI_OK);
  }
  return static_cast<ULONG>(InterlockedIncrement(&refs_));
}

STDMETHODIMP_(ULONG) VirtualDevice::Release() {
  const LONG left = InterlockedDecrement(&refs_);
  {
    BlockLock lock;
    if (lock) {
      const CallScope scope = BeginCall(*lock, Call::DeviceRelease, Index());
      EndCall(*lock, scope, DI_OK);
      if (left == 0) {
        if (acquired_) lock->live[index_].acquired = 0;
        --lock->record.devicesAlive;
      }
    }
  }
  if (left != 0) return static_cast<ULONG>(left);
  for (VirtualEffect* effect : effects_) {
    if (effect != nullptr) effect->Detach();
  }
  VirtualInput* parent = parent_;
  delete this;
  parent->DropDeviceReference();
  return 0;
}

STDMETHODIMP VirtualDevice::GetCapabilities(LPDIDEVCAPS caps) {
  BlockLock lock;
  if (!lock) return DIERR_GENERIC;
  const CallScope scope = BeginCall(*lock, Call::GetCapabilities, Index());
  if (caps == nullptr) return EndCall(*lock, scope, DIERR_INVALIDPARAM);
  lock->record.lastCapabilitiesSize = caps->dwSize;
  if (scope.ForcedFailure()) return EndCall(*lock, scope, scope.forcedResult);
  const DWORD size = caps->dwSize;
  if (size != sizeof(DIDEVCAPS) && size != sizeof(DIDEVCAPS_DX3)) {
    return EndCall(*lock, scope, DIERR_INVALIDPARAM);
  }
  const DeviceConfig& device = lock->devices[index_];
  DIDEVCAPS filled{};
  filled.dwSize = size;
  filled.dwFlags = (device.capsFlags & ~DIDC_ATTACHED) | (device.attached != 0 ? DIDC_ATTACHED : 0);
  filled.dwDevType = device.devType;
  filled.dwAxes = device.axes;
  filled.dwButtons = device.buttons;
  filled.dwPOVs = device.povs;
  filled.dwFFSamplePeriod = device.ffSamplePeriod;
  filled.dwFFMinTimeResolution = device.ffMinTimeResolution;
  filled.dwFirmwareRevision = device.firmwareRevision;
  filled.dwHardwareRevision = device.hardwareRevision;
  filled.dwFFDriverVersion = device.ffDriverVersion;
  std::memcpy(caps, &filled, size);
  return EndCall(*lock, scope, DI_OK);
}

STDMETHODIMP VirtualDevice::EnumObjects(LPDIENUMDEVICEOBJECTSCALLBACKA callback, LPVOID context,
                                        DWORD flags) {
  ObjectConfig objects[kMaxObjects];
  std::uint32_t objectCount = 0;
  std::uint32_t recordIndex = 0;
  HRESULT result = DI_OK;
  {
    BlockLock lock;
    if (!lock) return DIERR_GENERIC;
    Block& block = *lock;
    const CallScope scope = BeginCall(block, Call::EnumObjects, Index());
    recordIndex = block.record.enumObjectsCount++;
    EnumObjectsRecord* record =
        recordIndex < kMaxEnumObjects ? &block.record.enumObjects[recordIndex] : nullptr;
    if (record != nullptr) *record = EnumObjectsRecord{Index(), flags, 0, 0, DI_OK};
    result = EndCall(block, scope, callback == nullptr ? DIERR_INVALIDPARAM : DI_OK);
    if (record != nullptr) record->result = result;
    if (FAILED(result)) return result;
    const DeviceConfig& device = block.devices[index_];
    for (std::uint32_t i = 0; i < device.objectCount && i < kMaxObjects; ++i) {
      if (ObjectMatches(device.objects[i].type, flags)) objects[objectCount++] = device.objects[i];
    }
  }

  // The callback may call back into the device (SetProperty), so the block is
  // not held while it runs.
  std::uint32_t callbacks = 0;
  bool stopped = false;
  for (std::uint32_t i = 0; i < objectCount && !stopped; ++i) {
    const ObjectConfig& object = objects[i];
    DIDEVICEOBJECTINSTANCEA instance{};
    instance.dwSize = sizeof instance;
    instance.guidType = object.guidType;
    instance.dwOfs = object.ofs;
    instance.dwType = object.type;
    instance.dwFlags = object.flags;
    CopyText(instance.tszName, sizeof instance.tszName, object.name);
    instance.dwFFMaxForce = object.ffMaxForce;
    instance.dwFFForceResolution = object.ffForceResolution;
    ++callbacks;
    stopped = callback(&instance, context) == DIENUM_STOP;
  }
  BlockLock lock;
  if (lock && recordIndex < kMaxEnumObjects) {
    lock->record.enumObjects[recordIndex].callbacks = callbacks;
    lock->record.enumObjects[recordIndex].stopped = stopped;
  }
  return result;
}

STDMETHODIMP VirtualDevice::GetProperty(REFGUID, LPDIPROPHEADER) {
  return Unsupported("IDirectInputDevice8::GetProperty", Index());
}

STDMETHODIMP VirtualDevice::SetProperty(REFGUID property, LPCDIPROPHEADER header) {
  BlockLock lock;
  if (!lock) return DIERR_GENERIC;
  Block& block = *lock;
  const CallScope scope = BeginCall(block, Call::SetProperty, Index());
  // DIPROP_* are MAKEDIPROP(n): the reference's address is n itself.
  const auto address = reinterpret_cast<std::uintptr_t>(&property);
  const std::uint32_t id = address <= 0xFFFF ? static_cast<std::uint32_t>(address) : kGuidProperty;

  const std::uint32_t recordIndex = block.record.propertyCount++;
  PropertyRecord* record =
      recordIndex < kMaxProperties ? &block.record.properties[recordIndex] : nullptr;
  if (record != nullptr) {
    *record = PropertyRecord{Index(), id, 0, 0, 0, 0, 0, 0, 0, DI_OK};
    if (header != nullptr) {
      record->size = header->dwSize;
      record->headerSize = header->dwHeaderSize;
      record->obj = header->dwObj;
      record->how = header->dwHow;
      if (id == kRangeProperty && header->dwSize >= sizeof(DIPROPRANGE)) {
        const auto* range = reinterpret_cast<const DIPROPRANGE*>(header);
        record->min = range->lMin;
        record->max = range->lMax;
      } else if (id != kRangeProperty && header->dwSize >= sizeof(DIPROPDWORD)) {
        record->data = reinterpret_cast<const DIPROPDWORD*>(header)->dwData;
      }
    }
  }
  auto finish = [&](HRESULT own) {
    const HRESULT result = EndCall(block, scope, own);
    if (record != nullptr) record->result = result;
    return result;
  };

  if (header == nullptr || header->dwHeaderSize != sizeof(DIPROPHEADER)) {
    return finish(DIERR_INVALIDPARAM);
  }
  if (scope.ForcedFailure()) return finish(scope.forcedResult);

  // The object a property is set on: the whole device, or one object by
  // offset (needs the data format) or by id.
  const DeviceConfig& device = block.devices[index_];
  const ObjectConfig* object = nullptr;
  if (header->dwHow == DIPH_DEVICE) {
    if (header->dwObj != 0) return finish(DIERR_INVALIDPARAM);
  } else if (header->dwHow == DIPH_BYOFFSET || header->dwHow == DIPH_BYID) {
    const bool byOffset = header->dwHow == DIPH_BYOFFSET;
    if (byOffset && !formatSet_) return finish(DIERR_OBJECTNOTFOUND);
    object = FindObject(device, header->dwObj, byOffset);
    if (object == nullptr) return finish(DIERR_OBJECTNOTFOUND);
  } else {
    return finish(DIERR_INVALIDPARAM);
  }

  switch (id) {
    case kBufferSizeProperty: {
      if (header->dwSize != sizeof(DIPROPDWORD) || object != nullptr) {
        return finish(DIERR_INVALIDPARAM);
      }
      if (acquired_) return finish(DIERR_ACQUIRED);
      DeviceLive& live = block.live[index_];
      live.bufferSize = reinterpret_cast<const DIPROPDWORD*>(header)->dwData;
      ClearEvents(live);
      return finish(DI_OK);
    }
    case kRangeProperty: {
      if (header->dwSize != sizeof(DIPROPRANGE)) return finish(DIERR_INVALIDPARAM);
      const auto* range = reinterpret_cast<const DIPROPRANGE*>(header);
      if (range->lMin > range->lMax) return finish(DIERR_INVALIDPARAM);
      if (object != nullptr && (object->type & DIDFT_AXIS) == 0) return finish(DIERR_UNSUPPORTED);
      return finish(DI_OK);
    }
    case 2:  // DIPROP_AXISMODE
    case 5:  // DIPROP_DEADZONE
    case 6:  // DIPROP_SATURATION
    case 7:  // DIPROP_FFGAIN
    case 9:  // DIPROP_AUTOCENTER
    case 10:  // DIPROP_CALIBRATIONMODE
      return finish(header->dwSize == sizeof(DIPROPDWORD) ? DI_OK : DIERR_INVALIDPARAM);
    default:
      return finish(DIERR_UNSUPPORTED);
  }
}

STDMETHODIMP VirtualDevice::Acquire() {
  BlockLock lock;
  if (!lock) return DIERR_GENERIC;
  Block& block = *lock;
  const CallScope scope = BeginCall(block, Call::Acquire, Index());
  if (scope.ForcedFailure()) return EndCall(block, scope, scope.forcedResult);
  if (!formatSet_) return EndCall(block, scope, DIERR_INVALIDPARAM);
  if (block.devices[index_].attached == 0) return EndCall(block, scope, DIERR_UNPLUGGED);
  DeviceLive& live = block.live[index_];
  if (acquired_ && acquiredGeneration_ == live.lossGeneration) {
    return EndCall(block, scope, DI_NOEFFECT);
  }
  acquired_ = true;
  acquiredGeneration_ = live.lossGeneration;
  live.acquired = 1;
  return EndCall(block, scope, DI_OK);
}

STDMETHODIMP VirtualDevice::Unacquire() {
  BlockLock lock;
  if (!lock) return DIERR_GENERIC;
  const CallScope scope = BeginCall(*lock, Call::Unacquire, Index());
  if (scope.ForcedFailure()) return EndCall(*lock, scope, scope.forcedResult);
  if (!acquired_) return EndCall(*lock, scope, DI_NOEFFECT);
  acquired_ = false;
  lock->live[index_].acquired = 0;
  StopEffects();
  return EndCall(*lock, scope, DI_OK);
}

STDMETHODIMP VirtualDevice::GetDeviceState(DWORD size, LPVOID data) {
  BlockLock lock;
  if (!lock) return DIERR_GENERIC;
  Block& block = *lock;
  const CallScope scope = BeginCall(block, Call::GetDeviceState, Index());
  block.record.lastStateSize = size;
  if (size != sizeof(DIJOYSTATE2)) ++block.record.wrongStateSizes;
  if (scope.ForcedFailure()) return EndCall(block, scope, scope.forcedResult);
  if (data == nullptr || !formatSet_ || size != dataSize_) {
    return EndCall(block, scope, DIERR_INVALIDPARAM);
  }
  const HRESULT acquisition = Acquisition(block);
  if (FAILED(acquisition)) return EndCall(block, scope, acquisition);
  const DeviceLive& live = block.live[index_];
  const DIJOYSTATE2& state = IsPolled(block.devices[index_]) ? live.polledState : live.state;
  // The data format's bytes follow the DIJOYSTATE2 layout.
  const DWORD copied = size < sizeof state ? size : static_cast<DWORD>(sizeof state);
  std::memcpy(data, &state, copied);
  if (size > copied) std::memset(static_cast<char*>(data) + copied, 0, size - copied);
  return EndCall(block, scope, DI_OK);
}

STDMETHODIMP VirtualDevice::GetDeviceData(DWORD objectSize, LPDIDEVICEOBJECTDATA events,
                                          LPDWORD inOut, DWORD flags) {
  BlockLock lock;
  if (!lock) return DIERR_GENERIC;
  Block& block = *lock;
  const CallScope scope = BeginCall(block, Call::GetDeviceData, Index());
  block.record.lastObjectDataSize = objectSize;
  block.record.lastDataRoom = inOut != nullptr ? *inOut : 0;
  block.record.lastDataFlags = flags;
  auto fail = [&](HRESULT own) {
    if (inOut != nullptr) *inOut = 0;
    return EndCall(block, scope, own);
  };

  if (inOut == nullptr) return fail(DIERR_INVALIDPARAM);
  if (scope.ForcedFailure()) return fail(scope.forcedResult);
  if ((objectSize != sizeof(DIDEVICEOBJECTDATA) && objectSize != sizeof(DIDEVICEOBJECTDATA_DX3)) ||
      (flags & ~DWORD{DIGDD_PEEK}) != 0) {
    return fail(DIERR_INVALIDPARAM);
  }
  DeviceLive& live = block.live[index_];
  if (live.bufferSize == 0) return fail(DIERR_NOTBUFFERED);
  const HRESULT acquisition = Acquisition(block);
  if (FAILED(acquisition)) return fail(acquisition);

  const std::uint32_t available =
      IsPolled(block.devices[index_]) ? live.eventsVisible : live.eventCount;
  const std::uint32_t taken = *inOut < available ? *inOut : available;
  if (events != nullptr) {
    auto* out = reinterpret_cast<unsigned char*>(events);
    for (std::uint32_t i = 0; i < taken; ++i) {
      std::memcpy(out + i * objectSize, &live.events[(live.eventHead + i) % kMaxEvents], objectSize);
    }
  }
  const HRESULT own = live.overflowed != 0 ? DI_BUFFEROVERFLOW : DI_OK;
  if ((flags & DIGDD_PEEK) == 0) {
    live.eventHead = (live.eventHead + taken) % kMaxEvents;
    live.eventCount -= taken;
    live.eventsVisible = live.eventsVisible > taken ? live.eventsVisible - taken : 0;
    live.overflowed = 0;
    block.record.eventsTaken += taken;
  }
  *inOut = taken;
  return EndCall(block, scope, own);
}

STDMETHODIMP VirtualDevice::SetDataFormat(LPCDIDATAFORMAT format) {
  BlockLock lock;
  if (!lock) return DIERR_GENERIC;
  Block& block = *lock;
  const CallScope scope = BeginCall(block, Call::SetDataFormat, Index());
  const std::uint32_t recordIndex = block.record.dataFormatCount++;
  DataFormatRecord* record =
      recordIndex < kMaxDataFormats ? &block.record.dataFormats[recordIndex] : nullptr;
  if (record != nullptr) {
    *record = DataFormatRecord{Index(), 0, 0, 0, 0, 0, 0, DI_OK};
    if (format != nullptr) {
      record->size = format->dwSize;
      record->objSize = format->dwObjSize;
      record->flags = format->dwFlags;
      record->dataSize = format->dwDataSize;
      record->numObjs = format->dwNumObjs;
      record->matchesJoystick2 = MatchesJoystick2(*format);
    }
  }
  auto finish = [&](HRESULT own) {
    const HRESULT result = EndCall(block, scope, own);
    if (record != nullptr) record->result = result;
    return result;
  };

  if (format == nullptr) return finish(DIERR_INVALIDPARAM);
  if (scope.ForcedFailure()) return finish(scope.forcedResult);
  if (acquired_) return finish(DIERR_ACQUIRED);
  if (format->dwSize != sizeof(DIDATAFORMAT) || format->dwObjSize != sizeof(DIOBJECTDATAFORMAT) ||
      format->dwDataSize == 0 || format->dwDataSize % 4 != 0 ||
      (format->dwNumObjs > 0 && format->rgodf == nullptr)) {
    return finish(DIERR_INVALIDPARAM);
  }
  for (DWORD i = 0; i < format->dwNumObjs; ++i) {
    if (format->rgodf[i].dwOfs >= format->dwDataSize) return finish(DIERR_INVALIDPARAM);
  }
  formatSet_ = true;
  dataSize_ = format->dwDataSize;
  return finish(DI_OK);
}

STDMETHODIMP VirtualDevice::SetEventNotification(HANDLE) {
  return Unsupported("IDirectInputDevice8::SetEventNotification", Index());
}

STDMETHODIMP VirtualDevice::SetCooperativeLevel(HWND window, DWORD flags) {
  const bool topLevel = TopLevelWindowOfThisProcess(window);
  BlockLock lock;
  if (!lock) return DIERR_GENERIC;
  Block& block = *lock;
  const CallScope scope = BeginCall(block, Call::SetCooperativeLevel, Index());
  const std::uint32_t recordIndex = block.record.cooperativeLevelCount++;
  CooperativeLevelRecord* record = recordIndex < kMaxCooperativeLevels
                                       ? &block.record.cooperativeLevels[recordIndex]
                                       : nullptr;
  if (record != nullptr) {
    *record = CooperativeLevelRecord{Index(), flags, window != nullptr, topLevel, DI_OK};
  }
  auto finish = [&](HRESULT own) {
    const HRESULT result = EndCall(block, scope, own);
    if (record != nullptr) record->result = result;
    return result;
  };

  if (scope.ForcedFailure()) return finish(scope.forcedResult);
  if (acquired_) return finish(DIERR_ACQUIRED);
  const DWORD access = flags & (DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE);
  const DWORD focus = flags & (DISCL_FOREGROUND | DISCL_BACKGROUND);
  if ((access != DISCL_EXCLUSIVE && access != DISCL_NONEXCLUSIVE) ||
      (focus != DISCL_FOREGROUND && focus != DISCL_BACKGROUND) ||
      (flags & ~DWORD{DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE | DISCL_FOREGROUND | DISCL_BACKGROUND |
                      DISCL_NOWINKEY}) != 0) {
    return finish(DIERR_INVALIDPARAM);
  }
  // Exclusive or foreground access is tied to a top-level window of the caller.
  const bool needsWindow = access == DISCL_EXCLUSIVE || focus == DISCL_FOREGROUND;
  if ((needsWindow || window != nullptr) && !topLevel) return finish(E_HANDLE);
  cooperativeFlags_ = flags;
  return finish(DI_OK);
}

STDMETHODIMP VirtualDevice::GetObjectInfo(LPDIDEVICEOBJECTINSTANCEA, DWORD, DWORD) {
  return Unsupported("IDirectInputDevice8::GetObjectInfo", Index());
}

STDMETHODIMP VirtualDevice::GetDeviceInfo(LPDIDEVICEINSTANCEA instance) {
  BlockLock lock;
  if (!lock) return DIERR_GENERIC;
  const CallScope scope = BeginCall(*lock, Call::GetDeviceInfo, Index());
  if (instance == nullptr) return EndCall(*lock, scope, DIERR_INVALIDPARAM);
  if (scope.ForcedFailure()) return EndCall(*lock, scope, scope.forcedResult);
  const DWORD size = instance->dwSize;
  if (size != sizeof(DIDEVICEINSTANCEA) && size != sizeof(DIDEVICEINSTANCE_DX3A)) {
    return EndCall(*lock, scope, DIERR_INVALIDPARAM);
  }
  DIDEVICEINSTANCEA filled;
  FillInstance(lock->devices[index_], filled);
  filled.dwSize = size;
  std::memcpy(instance, &filled, size);
  return EndCall(*lock, scope, DI_OK);
}

STDMETHODIMP VirtualDevice::RunControlPanel(HWND, DWORD) {
  return Unsupported("IDirectInputDevice8::RunControlPanel", Index());
}

STDMETHODIMP VirtualDevice::Initialize(HINSTANCE, DWORD, REFGUID) {
  return Unsupported("IDirectInputDevice8::Initialize", Index());
}

STDMETHODIMP VirtualDevice::CreateEffect(REFGUID effect, LPCDIEFFECT parameters,
                                         LPDIRECTINPUTEFFECT* created, LPUNKNOWN outer) {
  BlockLock lock;
  if (!lock) return DIERR_GENERIC;
  Block& block = *lock;
  const CallScope scope = BeginCall(block, Call::CreateEffect, Index());
  const std::uint32_t recordIndex = block.record.createEffectCount++;
  CreateEffectRecord* record =
      recordIndex < kMaxCreateEffects ? &block.record.createEffects[recordIndex] : nullptr;
  if (record != nullptr) {
    *record = CreateEffectRecord{};
    record->device = Index();
    record->effect = effect;
    record->parametersPresent = parameters != nullptr;
    if (parameters != nullptr) CaptureEffect(parameters, record->parameters);
    record->outerNonNull = outer != nullptr;
  }
  auto finish = [&](HRESULT own) {
    const HRESULT result = EndCall(block, scope, own);
    if (record != nullptr) record->result = result;
    return result;
  };

  if (created == nullptr) return finish(DIERR_INVALIDPARAM);
  *created = nullptr;
  if (scope.ForcedFailure()) return finish(scope.forcedResult);
  if (outer != nullptr) return finish(DIERR_NOAGGREGATION);
  const DeviceConfig& device = block.devices[index_];
  if (device.forceFeedback == 0) return finish(DIERR_UNSUPPORTED);
  if (!IsEqualGUID(effect, GUID_ConstantForce)) return finish(DIERR_DEVICENOTREG);
  DWORD axes = 0;
  if (parameters != nullptr) {
    const DWORD all = parameters->dwSize == sizeof(DIEFFECT) ? DIEP_ALLPARAMS : DIEP_ALLPARAMS_DX5;
    const HRESULT check = CheckEffect(device, formatSet_, parameters, all, &axes);
    if (FAILED(check)) return finish(check);
  }
  VirtualEffect** slot = nullptr;
  for (VirtualEffect*& candidate : effects_) {
    if (candidate == nullptr) {
      slot = &candidate;
      break;
    }
  }
  if (slot == nullptr) return finish(DIERR_OUTOFMEMORY);
  auto* made = new (std::nothrow) VirtualEffect(block, this, effect, axes);
  if (made == nullptr) return finish(DIERR_OUTOFMEMORY);
  *slot = made;
  *created = made;
  // An effect created with its parameters is downloaded at once, which needs
  // the device acquired exclusively.
  if (parameters == nullptr || SUCCEEDED(ExclusiveAcquisition(block))) return finish(DI_OK);
  return finish(DI_DOWNLOADSKIPPED);
}

STDMETHODIMP VirtualDevice::EnumEffects(LPDIENUMEFFECTSCALLBACKA, LPVOID, DWORD) {
  return Unsupported("IDirectInputDevice8::EnumEffects", Index());
}

STDMETHODIMP VirtualDevice::GetEffectInfo(LPDIEFFECTINFOA, REFGUID) {
  return Unsupported("IDirectInputDevice8::GetEffectInfo", Index());
}

STDMETHODIMP VirtualDevice::GetForceFeedbackState(LPDWORD) {
  return Unsupported("IDirectInputDevice8::GetForceFeedbackState", Index());
}

STDMETHODIMP VirtualDevice::SendForceFeedbackCommand(DWORD) {
  return Unsupported("IDirectInputDevice8::SendForceFeedbackCommand", Index());
}

STDMETHODIMP VirtualDevice::EnumCreatedEffectObjects(LPDIENUMCREATEDEFFECTOBJECTSCALLBACK, LPVOID,
                                                     DWORD) {
  return Unsupported("IDirectInputDevice8::EnumCreatedEffectObjects", Index());
}

STDMETHODIMP VirtualDevice::Escape(LPDIEFFESCAPE) {
  return Unsupported("IDirectInputDevice8::Escape", Index());
}

STDMETHODIMP VirtualDevice::Poll() {
  BlockLock lock;
  if (!lock) return DIERR_GENERIC;
  Block& block = *lock;
  const CallScope scope = BeginCall(block, Call::Poll, Index());
  if (scope.ForcedFailure()) return EndCall(block, scope, scope.forcedResult);
  const HRESULT acquisition = Acquisition(block);
  if (FAILED(acquisition)) return EndCall(block, scope, acquisition);
  if (!IsPolled(block.devices[index_])) return EndCall(block, scope, DI_NOEFFECT);
  DeviceLive& live = block.live[index_];
  live.polledState = live.state;
  live.eventsVisible = live.eventCount;
  return EndCall(block, scope, DI_OK);
}

STDMETHODIMP VirtualDevice::SendDeviceData(DWORD, LPCDIDEVICEOBJECTDATA, LPDWORD, DWORD) {
  return Unsupported("IDirectInputDevice8::SendDeviceData", Index());
}

STDMETHODIMP VirtualDevice::EnumEffectsInFile(LPCSTR, LPDIENUMEFFECTSINFILECALLBACK, LPVOID, DWORD) {
  return Unsupported("IDirectInputDevice8::EnumEffectsInFile", Index());
}

STDMETHODIMP VirtualDevice::WriteEffectToFile(LPCSTR, DWORD, LPDIFILEEFFECT, DWORD) {
  return Unsupported("IDirectInputDevice8::WriteEffectToFile", Index());
}

STDMETHODIMP VirtualDevice::BuildActionMap(LPDIACTIONFORMATA, LPCSTR, DWORD) {
  return Unsupported("IDirectInputDevice8::BuildActionMap", Index());
}

STDMETHODIMP VirtualDevice::SetActionMap(LPDIACTIONFORMATA, LPCSTR, DWORD) {
  return Unsupported("IDirectInputDevice8::SetActionMap", Index());
}

STDMETHODIMP VirtualDevice::GetImageInfo(LPDIDEVICEIMAGEINFOHEADERA) {
  return Unsupported("IDirectInputDevice8::GetImageInfo", Index());
}

}  // namespace vpad::dll
