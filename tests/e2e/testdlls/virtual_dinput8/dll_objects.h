// The virtual controller's COM objects: IDirectInput8A, IDirectInputDevice8A
// and IDirectInputEffect over the shared block.
#pragma once

#include "dll_block_access.h"

namespace vpad::dll {

class VirtualDevice;
class VirtualEffect;

class VirtualInput final : public IDirectInput8A {
 public:
  // Counts the object as alive; the caller holds the block's mutex.
  explicit VirtualInput(Block& block);

  // References that devices hold on their DirectInput object; they are not
  // recorded as calls. DropDeviceReference must not be called with the block held.
  void HoldForDevice() { InterlockedIncrement(&refs_); }
  void DropDeviceReference();

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP CreateDevice(REFGUID instance, LPDIRECTINPUTDEVICE8A* device,
                            LPUNKNOWN outer) override;
  STDMETHODIMP EnumDevices(DWORD devType, LPDIENUMDEVICESCALLBACKA callback, LPVOID context,
                           DWORD flags) override;
  STDMETHODIMP GetDeviceStatus(REFGUID instance) override;
  STDMETHODIMP RunControlPanel(HWND, DWORD) override;
  STDMETHODIMP Initialize(HINSTANCE, DWORD) override;
  STDMETHODIMP FindDevice(REFGUID, LPCSTR, LPGUID) override;
  STDMETHODIMP EnumDevicesBySemantics(LPCSTR, LPDIACTIONFORMATA, LPDIENUMDEVICESBYSEMANTICSCBA,
                                      LPVOID, DWORD) override;
  STDMETHODIMP ConfigureDevices(LPDICONFIGUREDEVICESCALLBACK, LPDICONFIGUREDEVICESPARAMSA, DWORD,
                                LPVOID) override;

 private:
  ~VirtualInput() = default;
  LONG refs_ = 1;
};

class VirtualDevice final : public IDirectInputDevice8A {
 public:
  // Holds a reference on parent; counts the object as alive and empties the
  // device's event buffer. The caller holds the block's mutex.
  VirtualDevice(Block& block, VirtualInput* parent, std::uint32_t index);

  std::int32_t Index() const { return static_cast<std::int32_t>(index_); }
  bool FormatSet() const { return formatSet_; }
  // DI_OK while acquired exclusively; DIERR_INPUTLOST once after the driver took
  // the input away; DIERR_NOTEXCLUSIVEACQUIRED otherwise.
  HRESULT ExclusiveAcquisition(Block& block);
  // An effect being destroyed leaves the device's list.
  void ForgetEffect(VirtualEffect* effect);

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP GetCapabilities(LPDIDEVCAPS caps) override;
  STDMETHODIMP EnumObjects(LPDIENUMDEVICEOBJECTSCALLBACKA callback, LPVOID context,
                           DWORD flags) override;
  STDMETHODIMP GetProperty(REFGUID, LPDIPROPHEADER) override;
  STDMETHODIMP SetProperty(REFGUID property, LPCDIPROPHEADER header) override;
  STDMETHODIMP Acquire() override;
  STDMETHODIMP Unacquire() override;
  STDMETHODIMP GetDeviceState(DWORD size, LPVOID data) override;
  STDMETHODIMP GetDeviceData(DWORD objectSize, LPDIDEVICEOBJECTDATA events, LPDWORD inOut,
                             DWORD flags) override;
  STDMETHODIMP SetDataFormat(LPCDIDATAFORMAT format) override;
  STDMETHODIMP SetEventNotification(HANDLE) override;
  STDMETHODIMP SetCooperativeLevel(HWND window, DWORD flags) override;
  STDMETHODIMP GetObjectInfo(LPDIDEVICEOBJECTINSTANCEA, DWORD, DWORD) override;
  STDMETHODIMP GetDeviceInfo(LPDIDEVICEINSTANCEA instance) override;
  STDMETHODIMP RunControlPanel(HWND, DWORD) override;
  STDMETHODIMP Initialize(HINSTANCE, DWORD, REFGUID) override;
  STDMETHODIMP CreateEffect(REFGUID effect, LPCDIEFFECT parameters, LPDIRECTINPUTEFFECT* created,
                            LPUNKNOWN outer) override;
  STDMETHODIMP EnumEffects(LPDIENUMEFFECTSCALLBACKA, LPVOID, DWORD) override;
  STDMETHODIMP GetEffectInfo(LPDIEFFECTINFOA, REFGUID) override;
  STDMETHODIMP GetForceFeedbackState(LPDWORD) override;
  STDMETHODIMP SendForceFeedbackCommand(DWORD) override;
  STDMETHODIMP EnumCreatedEffectObjects(LPDIENUMCREATEDEFFECTOBJECTSCALLBACK, LPVOID,
                                        DWORD) override;
  STDMETHODIMP Escape(LPDIEFFESCAPE) override;
  STDMETHODIMP Poll() override;
  STDMETHODIMP SendDeviceData(DWORD, LPCDIDEVICEOBJECTDATA, LPDWORD, DWORD) override;
  STDMETHODIMP EnumEffectsInFile(LPCSTR, LPDIENUMEFFECTSINFILECALLBACK, LPVOID, DWORD) override;
  STDMETHODIMP WriteEffectToFile(LPCSTR, DWORD, LPDIFILEEFFECT, DWORD) override;
  STDMETHODIMP BuildActionMap(LPDIACTIONFORMATA, LPCSTR, DWORD) override;
  STDMETHODIMP SetActionMap(LPDIACTIONFORMATA, LPCSTR, DWORD) override;
  STDMETHODIMP GetImageInfo(LPDIDEVICEIMAGEINFOHEADERA) override;

 private:
  static constexpr std::uint32_t kMaxEffects = 8;

  ~VirtualDevice() = default;
  // DI_OK while acquired; DIERR_INPUTLOST once after the driver took the input
  // away (the device is then unacquired); DIERR_NOTACQUIRED otherwise.
  HRESULT Acquisition(Block& block);
  void StopEffects();

  LONG refs_ = 1;
  VirtualInput* parent_;
  std::uint32_t index_;
  bool formatSet_ = false;
  DWORD dataSize_ = 0;
  DWORD cooperativeFlags_ = DISCL_NONEXCLUSIVE | DISCL_BACKGROUND;
  bool acquired_ = false;
  std::uint32_t acquiredGeneration_ = 0;
  VirtualEffect* effects_[kMaxEffects] = {};
};

class VirtualEffect final : public IDirectInputEffect {
 public:
  // Counts the object as alive; the caller holds the block's mutex.
  VirtualEffect(Block& block, VirtualDevice* device, const GUID& effect, DWORD axes);

  // The device is going away; later calls fail with DIERR_NOTINITIALIZED.
  void Detach() { device_ = nullptr; }
  void StopPlaying() { playing_ = false; }

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP Initialize(HINSTANCE, DWORD, REFGUID) override;
  STDMETHODIMP GetEffectGuid(LPGUID effect) override;
  STDMETHODIMP GetParameters(LPDIEFFECT, DWORD) override;
  STDMETHODIMP SetParameters(LPCDIEFFECT parameters, DWORD flags) override;
  STDMETHODIMP Start(DWORD iterations, DWORD flags) override;
  STDMETHODIMP Stop() override;
  STDMETHODIMP GetEffectStatus(LPDWORD status) override;
  STDMETHODIMP Download() override;
  STDMETHODIMP Unload() override;
  STDMETHODIMP Escape(LPDIEFFESCAPE) override;

 private:
  ~VirtualEffect() = default;
  std::int32_t DeviceIndex() const { return device_ != nullptr ? device_->Index() : -1; }

  LONG refs_ = 1;
  VirtualDevice* device_;  // not owned; the device detaches its effects
  GUID effect_;
  DWORD axes_;
  bool playing_ = false;
};

// The DIDEVICEINSTANCEA that EnumDevices and GetDeviceInfo report for a device.
void FillInstance(const DeviceConfig& device, DIDEVICEINSTANCEA& instance);

// Effect parameter checks shared by CreateEffect and SetParameters.

// Copies a DIEFFECT and what its pointers point to into a record.
void CaptureEffect(const DIEFFECT* effect, EffectParameters& record);
// DI_OK when the parts of effect named by params (DIEP_*) are valid for the
// device; *axes is the effect's axis count before and after (DIEP_AXES sets it).
// Objects named by offset need the data format set (formatSet).
HRESULT CheckEffect(const DeviceConfig& device, bool formatSet, const DIEFFECT* effect, DWORD params,
                    DWORD* axes);
// The object that an offset (DIEFF_OBJECTOFFSETS, DIPH_BYOFFSET) or an object
// id (DIEFF_OBJECTIDS, DIPH_BYID) names; null when there is none.
const ObjectConfig* FindObject(const DeviceConfig& device, DWORD value, bool byOffset);

}  // namespace vpad::dll
