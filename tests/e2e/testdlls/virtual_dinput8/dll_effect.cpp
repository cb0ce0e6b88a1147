// The virtual IDirectInputEffect (constant force) and the DIEFFECT checks and
// capture shared with CreateEffect. Every SetParameters call is recorded.
#include <cstring>

#include "dll_objects.h"

namespace vpad::dll {

void CaptureEffect(const DIEFFECT* effect, EffectParameters& record) {
  record = EffectParameters{};
  if (effect == nullptr) return;
  record.size = effect->dwSize;
  if (effect->dwSize < sizeof(DIEFFECT_DX5)) return;
  record.flags = effect->dwFlags;
  record.duration = effect->dwDuration;
  record.samplePeriod = effect->dwSamplePeriod;
  record.gain = effect->dwGain;
  record.triggerButton = effect->dwTriggerButton;
  record.triggerRepeatInterval = effect->dwTriggerRepeatInterval;
  record.axisCount = effect->cAxes;
  const DWORD shown = effect->cAxes < kMaxEffectAxes ? effect->cAxes : kMaxEffectAxes;
  if (effect->rgdwAxes != nullptr) {
    record.axesPresent = 1;
    for (DWORD i = 0; i < shown; ++i) record.axes[i] = effect->rgdwAxes[i];
  }
  if (effect->rglDirection != nullptr) {
    record.directionsPresent = 1;
    for (DWORD i = 0; i < shown; ++i) record.directions[i] = effect->rglDirection[i];
  }
  if (effect->lpEnvelope != nullptr) {
    record.envelopePresent = 1;
    record.envelope = *effect->lpEnvelope;
  }
  record.typeSpecificSize = effect->cbTypeSpecificParams;
  if (effect->lpvTypeSpecificParams != nullptr) {
    record.typeSpecificPresent = 1;
    if (effect->cbTypeSpecificParams >= sizeof(DICONSTANTFORCE)) {
      record.constantMagnitude =
          static_cast<const DICONSTANTFORCE*>(effect->lpvTypeSpecificParams)->lMagnitude;
    }
  }
  if (effect->dwSize >= sizeof(DIEFFECT)) record.startDelay = effect->dwStartDelay;
}

HRESULT CheckEffect(const DeviceConfig& device, bool formatSet, const DIEFFECT* effect, DWORD params,
                    DWORD* axes) {
  if (effect == nullptr) return DIERR_INVALIDPARAM;
  if (effect->dwSize != sizeof(DIEFFECT) && effect->dwSize != sizeof(DIEFFECT_DX5)) {
    return DIERR_INVALIDPARAM;
  }
  if ((params & DIEP_STARTDELAY) != 0 && effect->dwSize != sizeof(DIEFFECT)) return DIERR_INVALIDPARAM;

  const DWORD addressing = effect->dwFlags & (DIEFF_OBJECTIDS | DIEFF_OBJECTOFFSETS);
  if ((params & (DIEP_AXES | DIEP_TRIGGERBUTTON)) != 0) {
    if (addressing != DIEFF_OBJECTIDS && addressing != DIEFF_OBJECTOFFSETS) return DIERR_INVALIDPARAM;
    if (addressing == DIEFF_OBJECTOFFSETS && !formatSet) return DIERR_INVALIDPARAM;
  }
  const bool byOffset = addressing == DIEFF_OBJECTOFFSETS;

  if ((params & DIEP_GAIN) != 0 && effect->dwGain > DI_FFNOMINALMAX) return DIERR_INVALIDPARAM;
  if ((params & DIEP_TRIGGERBUTTON) != 0 && effect->dwTriggerButton != DIEB_NOTRIGGER) {
    const ObjectConfig* button = FindObject(device, effect->dwTriggerButton, byOffset);
    if (button == nullptr || (button->type & DIDFT_BUTTON) == 0 ||
        (button->type & DIDFT_FFEFFECTTRIGGER) == 0) {
      return DIERR_INVALIDPARAM;
    }
  }

  DWORD effectAxes = *axes;
  if ((params & DIEP_AXES) != 0) {
    if (effect->cAxes == 0 || effect->cAxes > kMaxEffectAxes || effect->rgdwAxes == nullptr) {
      return DIERR_INVALIDPARAM;
    }
    for (DWORD i = 0; i < effect->cAxes; ++i) {
      const ObjectConfig* axis = FindObject(device, effect->rgdwAxes[i], byOffset);
      if (axis == nullptr || (axis->type & DIDFT_FFACTUATOR) == 0) return DIERR_INVALIDPARAM;
    }
    effectAxes = effect->cAxes;
  }
  if ((params & DIEP_DIRECTION) != 0) {
    const DWORD coordinates = effect->dwFlags & (DIEFF_CARTESIAN | DIEFF_POLAR | DIEFF_SPHERICAL);
    if (coordinates != DIEFF_CARTESIAN && coordinates != DIEFF_POLAR &&
        coordinates != DIEFF_SPHERICAL) {
      return DIERR_INVALIDPARAM;
    }
    // The direction has one entry per axis of the effect.
    if (effect->rglDirection == nullptr || effectAxes == 0 || effect->cAxes != effectAxes) {
      return DIERR_INVALIDPARAM;
    }
    if (coordinates == DIEFF_POLAR && effectAxes != 2) return DIERR_INVALIDPARAM;
  }
  if ((params & DIEP_ENVELOPE) != 0 && effect->lpEnvelope != nullptr &&
      effect->lpEnvelope->dwSize != sizeof(DIENVELOPE)) {
    return DIERR_INVALIDPARAM;
  }
  if ((params & DIEP_TYPESPECIFICPARAMS) != 0 &&
      (effect->lpvTypeSpecificParams == nullptr ||
       effect->cbTypeSpecificParams != sizeof(DICONSTANTFORCE))) {
    return DIERR_INVALIDPARAM;
  }
  *axes = effectAxes;
  return DI_OK;
}

VirtualEffect::VirtualEffect(Block& block, VirtualDevice* device, const GUID& effect, DWORD axes)
    : device_(device), effect_(effect), axes_(axes) {
  ++block.record.effectsAlive;
}

STDMETHODIMP VirtualEffect::QueryInterface(REFIID iid, void** object) {
  BlockLock lock;
  if (!lock) return DIERR_GENERIC;
  const CallScope scope = BeginCall(*lock, Call::EffectQueryInterface, DeviceIndex());
  if (object == nullptr) return EndCall(*lock, scope, E_POINTER);
  *object = nullptr;
  if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, IID_IDirectInputEffect)) {
    return EndCall(*lock, scope, E_NOINTERFACE);
  }
  InterlockedIncrement(&refs_);
  *object = static_cast<IDirectInputEffect*>(this);
  return EndCall(*lock, scope, DI_OK);
}

STDMETHODIMP_(ULONG) VirtualEffect::AddRef() {
  BlockLock lock;
  if (lock) {
    const CallScope scope = BeginCall(*lock, Call::EffectAddRef, DeviceIndex());
    EndCall(*lock, scope, DI_OK);
  }
  return static_cast<ULONG>(InterlockedIncrement(&refs_));
}

STDMETHODIMP_(ULONG) VirtualEffect::Release() {
  const LONG left = InterlockedDecrement(&refs_);
  {
    BlockLock lock;
    if (lock) {
      const CallScope scope = BeginCall(*lock, Call::EffectRelease, DeviceIndex());
      EndCall(*lock, scope, DI_OK);
      if (left == 0) --lock->record.effectsAlive;
    }
  }
  if (left != 0) return static_cast<ULONG>(left);
  if (device_ != nullptr) device_->ForgetEffect(this);
  delete this;
  return 0;
}

STDMETHODIMP VirtualEffect::Initialize(HINSTANCE, DWORD, REFGUID) {
  return Unsupported("IDirectInputEffect::Initialize", DeviceIndex());
}

STDMETHODIMP VirtualEffect::GetEffectGuid(LPGUID effect) {
  BlockLock lock;
  if (!lock) return DIERR_GENERIC;
  const CallScope scope = BeginCall(*lock, Call::EffectGetEffectGuid, DeviceIndex());
  if (effect == nullptr) return EndCall(*lock, scope, DIERR_INVALIDPARAM);
  if (scope.ForcedFailure()) return EndCall(*lock, scope, scope.forcedResult);
  *effect = effect_;
  return EndCall(*lock, scope, DI_OK);
}

STDMETHODIMP VirtualEffect::GetParameters(LPDIEFFECT, DWORD) {
  return Unsupported("IDirectInputEffect::GetParameters", DeviceIndex());
}

STDMETHODIMP VirtualEffect::SetParameters(LPCDIEFFECT parameters, DWORD flags) {
  BlockLock lock;
  if (!lock) return DIERR_GENERIC;
  Block& block = *lock;
  const CallScope scope = BeginCall(block, Call::EffectSetParameters, DeviceIndex());
  SetParametersRecord& record =
      block.record.setParameters[block.record.setParametersCount++ % kMaxSetParameters];
  record.flags = flags;
  record.readCycle = block.record.calls[static_cast<std::uint32_t>(Call::GetDeviceState)];
  record.acquires = block.record.calls[static_cast<std::uint32_t>(Call::Acquire)];
  record.result = DI_OK;
  CaptureEffect(parameters, record.parameters);
  auto finish = [&](HRESULT own) {
    record.result = EndCall(block, scope, own);
    return record.result;
  };

  if (parameters == nullptr) return finish(DIERR_INVALIDPARAM);
  if (scope.ForcedFailure()) return finish(scope.forcedResult);
  if (device_ == nullptr) return finish(DIERR_NOTINITIALIZED);
  constexpr DWORD kKnownFlags = DIEP_ALLPARAMS | DIEP_START | DIEP_NORESTART | DIEP_NODOWNLOAD;
  if ((flags & ~kKnownFlags) != 0) return finish(DIERR_INVALIDPARAM);
  DWORD axes = axes_;
  const HRESULT check = CheckEffect(block.devices[device_->Index()], device_->FormatSet(), parameters,
                                    flags & DIEP_ALLPARAMS, &axes);
  if (FAILED(check)) return finish(check);
  axes_ = axes;
  if ((flags & DIEP_NODOWNLOAD) != 0) return finish(DI_DOWNLOADSKIPPED);
  const HRESULT acquisition = device_->ExclusiveAcquisition(block);
  if (acquisition == DIERR_INPUTLOST) return finish(DIERR_INPUTLOST);
  if (FAILED(acquisition)) {
    return finish((flags & DIEP_START) != 0 ? DIERR_NOTEXCLUSIVEACQUIRED : DI_DOWNLOADSKIPPED);
  }
  if ((flags & DIEP_START) != 0) playing_ = true;
  return finish(DI_OK);
}

STDMETHODIMP VirtualEffect::Start(DWORD, DWORD flags) {
  BlockLock lock;
  if (!lock) return DIERR_GENERIC;
  const CallScope scope = BeginCall(*lock, Call::EffectStart, DeviceIndex());
  if (scope.ForcedFailure()) return EndCall(*lock, scope, scope.forcedResult);
  if (device_ == nullptr) return EndCall(*lock, scope, DIERR_NOTINITIALIZED);
  if ((flags & ~DWORD{DIES_SOLO | DIES_NODOWNLOAD}) != 0) {
    return EndCall(*lock, scope, DIERR_INVALIDPARAM);
  }
  const HRESULT acquisition = device_->ExclusiveAcquisition(*lock);
  if (FAILED(acquisition)) return EndCall(*lock, scope, acquisition);
  playing_ = true;
  return EndCall(*lock, scope, DI_OK);
}

STDMETHODIMP VirtualEffect::Stop() {
  BlockLock lock;
  if (!lock) return DIERR_GENERIC;
  const CallScope scope = BeginCall(*lock, Call::EffectStop, DeviceIndex());
  if (scope.ForcedFailure()) return EndCall(*lock, scope, scope.forcedResult);
  if (device_ == nullptr) return EndCall(*lock, scope, DIERR_NOTINITIALIZED);
  const HRESULT acquisition = device_->ExclusiveAcquisition(*lock);
  if (FAILED(acquisition)) return EndCall(*lock, scope, acquisition);
  playing_ = false;
  return EndCall(*lock, scope, DI_OK);
}

STDMETHODIMP VirtualEffect::GetEffectStatus(LPDWORD status) {
  BlockLock lock;
  if (!lock) return DIERR_GENERIC;
  const CallScope scope = BeginCall(*lock, Call::EffectGetEffectStatus, DeviceIndex());
  if (status == nullptr) return EndCall(*lock, scope, DIERR_INVALIDPARAM);
  if (scope.ForcedFailure()) return EndCall(*lock, scope, scope.forcedResult);
  if (device_ == nullptr) return EndCall(*lock, scope, DIERR_NOTINITIALIZED);
  *status = playing_ ? DIEGES_PLAYING : 0;
  return EndCall(*lock, scope, DI_OK);
}

STDMETHODIMP VirtualEffect::Download() {
  BlockLock lock;
  if (!lock) return DIERR_GENERIC;
  const CallScope scope = BeginCall(*lock, Call::EffectDownload, DeviceIndex());
  if (scope.ForcedFailure()) return EndCall(*lock, scope, scope.forcedResult);
  if (device_ == nullptr) return EndCall(*lock, scope, DIERR_NOTINITIALIZED);
  const HRESULT acquisition = device_->ExclusiveAcquisition(*lock);
  return EndCall(*lock, scope, FAILED(acquisition) ? acquisition : DI_OK);
}

STDMETHODIMP VirtualEffect::Unload() {
  BlockLock lock;
  if (!lock) return DIERR_GENERIC;
  const CallScope scope = BeginCall(*lock, Call::EffectUnload, DeviceIndex());
  if (scope.ForcedFailure()) return EndCall(*lock, scope, scope.forcedResult);
  if (device_ == nullptr) return EndCall(*lock, scope, DIERR_NOTINITIALIZED);
  playing_ = false;
  return EndCall(*lock, scope, DI_OK);
}

STDMETHODIMP VirtualEffect::Escape(LPDIEFFESCAPE) {
  return Unsupported("IDirectInputEffect::Escape", DeviceIndex());
}

}  // namespace vpad::dll
