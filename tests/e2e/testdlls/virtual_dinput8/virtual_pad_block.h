// Layout of the shared-memory block through which an end-to-end test driver
// scripts the virtual DirectInput 8 controller (the test-only dinput8.dll) and
// reads back what the program under test asked of it.
//
// Both sides are 32-bit Win32 processes in the same Wine prefix. The block is a
// named file mapping (kBlockName) holding one Block; every read and write of
// it, from either side, happens while holding the named mutex kMutexName. No
// field is written outside that mutex, so no field needs atomic access.
#pragma once

#ifndef DIRECTINPUT_VERSION
#define DIRECTINPUT_VERSION 0x0800
#endif

#include <windows.h>
#include <dinput.h>

#include <cstdint>

static_assert(DIRECTINPUT_VERSION == 0x0800, "the virtual controller speaks DirectInput 8");

namespace vpad {

constexpr char kBlockName[] = "Local\\VeldaraVirtualPad";
constexpr char kMutexName[] = "Local\\VeldaraVirtualPadLock";
constexpr std::uint32_t kBlockMagic = 0x44415056;  // "VPAD"
constexpr std::uint32_t kBlockVersion = 2;

constexpr std::uint32_t kMaxDevices = 4;
constexpr std::uint32_t kMaxObjects = 160;  // 6 axes, sliders, 4 hats, 128 buttons
constexpr std::uint32_t kNameLength = 64;  // including the terminating zero
constexpr std::uint32_t kMaxEvents = 1024;  // event queue capacity per device
constexpr std::uint32_t kMaxEffectAxes = 4;

// Object offset of an object that has no place in c_dfDIJoystick2 (a third
// slider, for example).
constexpr std::uint32_t kNoOffset = 0xFFFFFFFF;

// Every method of the three interfaces, and DirectInput8Create. Indexes the
// call counters, the forced results and the call log.
enum class Call : std::uint32_t {
  DirectInput8Create,
  InputQueryInterface,
  InputAddRef,
  InputRelease,
  CreateDevice,
  EnumDevices,
  GetDeviceStatus,
  DeviceQueryInterface,
  DeviceAddRef,
  DeviceRelease,
  GetCapabilities,
  EnumObjects,
  SetProperty,
  Acquire,
  Unacquire,
  GetDeviceState,
  GetDeviceData,
  SetDataFormat,
  SetCooperativeLevel,
  GetDeviceInfo,
  CreateEffect,
  Poll,
  EffectQueryInterface,
  EffectAddRef,
  EffectRelease,
  EffectGetEffectGuid,
  EffectSetParameters,
  EffectStart,
  EffectStop,
  EffectGetEffectStatus,
  EffectDownload,
  EffectUnload,
  Unsupported,  // any method the virtual controller does not implement
  Count
};
constexpr std::uint32_t kCallCount = static_cast<std::uint32_t>(Call::Count);

inline const char* CallName(Call call) {
  static const char* const kNames[kCallCount] = {
      "DirectInput8Create", "IDirectInput8::QueryInterface", "IDirectInput8::AddRef",
      "IDirectInput8::Release", "CreateDevice", "EnumDevices", "GetDeviceStatus",
      "IDirectInputDevice8::QueryInterface", "IDirectInputDevice8::AddRef",
      "IDirectInputDevice8::Release", "GetCapabilities", "EnumObjects", "SetProperty", "Acquire",
      "Unacquire", "GetDeviceState", "GetDeviceData", "SetDataFormat", "SetCooperativeLevel",
      "GetDeviceInfo", "CreateEffect", "Poll", "IDirectInputEffect::QueryInterface",
      "IDirectInputEffect::AddRef", "IDirectInputEffect::Release", "GetEffectGuid",
      "SetParameters", "Start", "Stop", "GetEffectStatus", "Download", "Unload",
      "unsupported method"};
  const auto index = static_cast<std::uint32_t>(call);
  return index < kCallCount ? kNames[index] : "?";
}

// One device object as EnumObjects reports it.
struct ObjectConfig {
  GUID guidType;  // GUID_XAxis ... GUID_Slider, GUID_POV, GUID_Button
  std::uint32_t ofs;  // offset in c_dfDIJoystick2, or kNoOffset
  std::uint32_t type;  // DIDFT_* type, instance and attribute bits
  std::uint32_t flags;  // DIDOI_* (DIDOI_FFACTUATOR, DIDOI_ASPECTPOSITION, ...)
  std::uint32_t ffMaxForce;
  std::uint32_t ffForceResolution;
  char name[kNameLength];
};

struct DeviceConfig {
  std::uint32_t attached;  // listed under DIEDFL_ATTACHEDONLY, can be acquired
  std::uint32_t forceFeedback;  // listed under DIEDFL_FORCEFEEDBACK, accepts effects
  GUID instance;
  GUID product;
  std::uint32_t devType;  // DI8DEVTYPE_* | subtype << 8
  char instanceName[kNameLength];
  char productName[kNameLength];
  // GetCapabilities reports these as they stand (plus DIDC_ATTACHED while
  // attached); DIDC_POLLEDDEVICE or DIDC_POLLEDDATAFORMAT make data wait for Poll.
  std::uint32_t capsFlags;
  std::uint32_t axes;
  std::uint32_t buttons;
  std::uint32_t povs;
  std::uint32_t ffSamplePeriod;
  std::uint32_t ffMinTimeResolution;
  std::uint32_t firmwareRevision;
  std::uint32_t hardwareRevision;
  std::uint32_t ffDriverVersion;
  std::uint32_t objectCount;
  ObjectConfig objects[kMaxObjects];  // in enumeration order
};

// Result that the next calls of one method return instead of their own.
// A failure code skips the method's work; a success code (S_FALSE,
// DI_BUFFEROVERFLOW) lets it work normally and replaces only the result.
struct ForcedResult {
  std::int32_t result;
  std::uint32_t remaining;  // calls still to affect; kForever never runs out
};
constexpr std::uint32_t kForever = 0xFFFFFFFF;

// The live side of one device: what GetDeviceState and GetDeviceData return.
struct DeviceLive {
  DIJOYSTATE2 state;  // set by the driver
  DIJOYSTATE2 polledState;  // the state as of the last Poll (polled devices)
  std::uint32_t acquired;  // a device object of this device is acquired
  std::uint32_t lossGeneration;  // bumped by the driver to take input away
  std::uint32_t bufferSize;  // DIPROP_BUFFERSIZE set by the program, 0 = unbuffered
  std::uint32_t eventHead;  // index of the oldest queued event
  std::uint32_t eventCount;  // events queued
  std::uint32_t eventsVisible;  // of those, readable now (all but on polled devices)
  std::uint32_t overflowed;  // events were dropped since the last read
  std::uint32_t nextSequence;  // dwSequence of the next queued event
  DIDEVICEOBJECTDATA events[kMaxEvents];  // ring
};

// What the virtual controller records. Arrays named xxx[N] with a count
// xxxCount hold the first N calls; the count goes on counting beyond N.
// setParameters is the exception: a ring of the last kMaxSetParameters calls.

struct CallLogEntry {
  std::uint32_t call;  // Call
  std::int32_t device;  // device index, -1 where none
  std::int32_t result;
  std::uint32_t sequence;  // Block::sequence of the call
};

struct CreateRecord {
  std::uint32_t version;
  GUID iid;
  std::uint32_t instanceNonNull;
  std::uint32_t outerNonNull;
  std::int32_t result;
};

struct EnumDevicesRecord {
  std::uint32_t devType;
  std::uint32_t flags;
  std::uint32_t callbacks;  // callback invocations made
  std::uint32_t stopped;  // the callback returned DIENUM_STOP
  std::int32_t result;
};

struct CreateDeviceRecord {
  GUID instance;
  std::int32_t device;  // index of the device created, -1 when none
  std::uint32_t outerNonNull;
  std::int32_t result;
};

constexpr std::uint32_t kGuidProperty = 0xFFFFFFFF;  // a property named by a real GUID

struct PropertyRecord {
  std::int32_t device;
  std::uint32_t property;  // n of MAKEDIPROP(n): 1 DIPROP_BUFFERSIZE, 4 DIPROP_RANGE, ...
  std::uint32_t size;  // header dwSize
  std::uint32_t headerSize;
  std::uint32_t obj;
  std::uint32_t how;
  std::uint32_t data;  // dwData of a DIPROPDWORD
  std::int32_t min;  // lMin, lMax of a DIPROPRANGE
  std::int32_t max;
  std::int32_t result;
};

struct DataFormatRecord {
  std::int32_t device;
  std::uint32_t size;
  std::uint32_t objSize;
  std::uint32_t flags;
  std::uint32_t dataSize;
  std::uint32_t numObjs;
  std::uint32_t matchesJoystick2;  // header and every object equal c_dfDIJoystick2's
  std::int32_t result;
};

struct CooperativeLevelRecord {
  std::int32_t device;
  std::uint32_t flags;
  std::uint32_t windowNonNull;
  std::uint32_t windowTopLevel;  // a top-level window of the calling process
  std::int32_t result;
};

struct EnumObjectsRecord {
  std::int32_t device;
  std::uint32_t flags;
  std::uint32_t callbacks;
  std::uint32_t stopped;
  std::int32_t result;
};

// The fields of a DIEFFECT, with its pointers followed.
struct EffectParameters {
  std::uint32_t size;
  std::uint32_t flags;
  std::uint32_t duration;
  std::uint32_t samplePeriod;
  std::uint32_t gain;
  std::uint32_t triggerButton;
  std::uint32_t triggerRepeatInterval;
  std::uint32_t axisCount;  // cAxes as passed
  std::uint32_t axesPresent;  // rgdwAxes non-null
  std::uint32_t axes[kMaxEffectAxes];  // the first cAxes (at most kMaxEffectAxes)
  std::uint32_t directionsPresent;
  std::int32_t directions[kMaxEffectAxes];
  std::uint32_t envelopePresent;
  DIENVELOPE envelope;
  std::uint32_t typeSpecificSize;
  std::uint32_t typeSpecificPresent;
  std::int32_t constantMagnitude;  // lMagnitude when typeSpecificSize is 4
  std::uint32_t startDelay;  // only when size is sizeof(DIEFFECT)
};

struct CreateEffectRecord {
  std::int32_t device;
  GUID effect;
  std::uint32_t parametersPresent;
  EffectParameters parameters;
  std::uint32_t outerNonNull;
  std::int32_t result;
};

struct SetParametersRecord {
  std::uint32_t flags;
  std::uint32_t readCycle;  // GetDeviceState calls made before this call
  std::uint32_t acquires;  // Acquire calls made before this call
  std::int32_t result;
  EffectParameters parameters;
};

constexpr std::uint32_t kMaxCallLog = 512;
constexpr std::uint32_t kMaxCreates = 8;
constexpr std::uint32_t kMaxEnumDevices = 16;
constexpr std::uint32_t kMaxCreateDevices = 16;
constexpr std::uint32_t kMaxProperties = 64;
constexpr std::uint32_t kMaxDataFormats = 8;
constexpr std::uint32_t kMaxCooperativeLevels = 8;
constexpr std::uint32_t kMaxEnumObjects = 16;
constexpr std::uint32_t kMaxCreateEffects = 4;
constexpr std::uint32_t kMaxSetParameters = 256;

struct Record {
  std::uint32_t calls[kCallCount];  // every call, failed or forced ones too

  std::uint32_t createCount;
  CreateRecord creates[kMaxCreates];
  std::uint32_t enumDevicesCount;
  EnumDevicesRecord enumDevices[kMaxEnumDevices];
  std::uint32_t createDeviceCount;
  CreateDeviceRecord createDevices[kMaxCreateDevices];
  std::uint32_t propertyCount;
  PropertyRecord properties[kMaxProperties];
  std::uint32_t dataFormatCount;
  DataFormatRecord dataFormats[kMaxDataFormats];
  std::uint32_t cooperativeLevelCount;
  CooperativeLevelRecord cooperativeLevels[kMaxCooperativeLevels];
  std::uint32_t enumObjectsCount;
  EnumObjectsRecord enumObjects[kMaxEnumObjects];

  std::uint32_t lastCapabilitiesSize;  // dwSize of the last DIDEVCAPS
  std::uint32_t lastStateSize;  // cbData of the last GetDeviceState
  std::uint32_t wrongStateSizes;  // GetDeviceState calls whose cbData was not 272
  std::uint32_t lastObjectDataSize;  // cbObjectData of the last GetDeviceData
  std::uint32_t lastDataRoom;  // *pdwInOut on entry to the last GetDeviceData
  std::uint32_t lastDataFlags;
  std::uint32_t eventsTaken;  // events removed from the queues by GetDeviceData

  std::uint32_t createEffectCount;
  CreateEffectRecord createEffects[kMaxCreateEffects];
  std::uint32_t setParametersCount;
  SetParametersRecord setParameters[kMaxSetParameters];  // ring: call n at n % size

  std::uint32_t inputsAlive;  // IDirectInput8A objects not yet released
  std::uint32_t devicesAlive;
  std::uint32_t effectsAlive;

  std::uint32_t callLogCount;
  CallLogEntry callLog[kMaxCallLog];
  char lastUnsupported[kNameLength];  // name of the last unsupported method called
};

struct Block {
  std::uint32_t magic;
  std::uint32_t version;
  std::uint32_t size;  // sizeof(Block)
  std::uint32_t sequence;  // bumped by every call into the virtual controller
  std::uint32_t deviceCount;  // 0 = no controller
  DeviceConfig devices[kMaxDevices];  // in EnumDevices order
  DeviceLive live[kMaxDevices];
  ForcedResult forced[kCallCount];
  Record record;
};

}  // namespace vpad
