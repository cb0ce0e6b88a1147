// DirectInput 8 as the gamepad tool uses it: creating the DirectInput object,
// enumerating and opening game controllers, configuring one, reading its
// immediate state and buffered events, and driving one constant-force effect.
// Records mirror the DirectInput structures field for field (DIJOYSTATE2,
// DIDEVICEOBJECTDATA, DIPROPDWORD, DIEFFECT, ...) so the logic sets and reads
// exactly the values the system sees. Interfaces are released by destroying
// them.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/window_id.h"

namespace platform {

using HResult = std::int32_t;
using ModuleToken = std::uintptr_t;  // a module instance handle as a number

constexpr HResult kDiOk = 0;
constexpr HResult kSFalse = 1;
constexpr HResult kDiBufferOverflow = 1;                                      // DI_BUFFEROVERFLOW == S_FALSE
constexpr HResult kDiErrInputLost = static_cast<HResult>(0x8007001Eu);        // ERROR_READ_FAULT
constexpr HResult kDiErrNotAcquired = static_cast<HResult>(0x8007000Cu);      // ERROR_INVALID_ACCESS
constexpr HResult kDiErrDeviceNotReg = static_cast<HResult>(0x80040154u);     // REGDB_E_CLASSNOTREG
constexpr HResult kDiErrGeneric = static_cast<HResult>(0x80004005u);          // E_FAIL

constexpr std::uint32_t kDirectInputVersion = 0x0800;
constexpr std::uint32_t kDi8DevClassGameCtrl = 4;
constexpr std::uint32_t kDiEdflAttachedOnly = 0x00000001;
constexpr std::uint32_t kDiEdflForceFeedback = 0x00000100;
constexpr int kDiEnumStop = 0;
constexpr int kDiEnumContinue = 1;
constexpr std::uint32_t kDidcPolledDevice = 0x00000002;
constexpr std::uint32_t kDidcPolledDataFormat = 0x00000008;
constexpr std::uint32_t kDisclExclusive = 0x00000001;
constexpr std::uint32_t kDisclBackground = 0x00000008;
constexpr std::uint32_t kDidftAll = 0x00000000;
constexpr std::uint32_t kDidftAxis = 0x00000003;  // DIDFT_RELAXIS | DIDFT_ABSAXIS
constexpr std::uint32_t kDidoiFfActuator = 0x00000001;
constexpr std::uint32_t kDiphDevice = 0;
constexpr std::uint32_t kDiphByOffset = 1;

struct Guid {
  std::uint32_t data1;
  std::uint16_t data2;
  std::uint16_t data3;
  std::uint8_t data4[8];
};

constexpr bool operator==(const Guid& a, const Guid& b) {
  if (a.data1 != b.data1 || a.data2 != b.data2 || a.data3 != b.data3) return false;
  for (int i = 0; i < 8; ++i) {
    if (a.data4[i] != b.data4[i]) return false;
  }
  return true;
}
constexpr bool operator!=(const Guid& a, const Guid& b) { return !(a == b); }

// Object type GUIDs of DirectInput (dinput.h).
constexpr Guid kGuidXAxis{0xA36D02E0, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
constexpr Guid kGuidYAxis{0xA36D02E1, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
constexpr Guid kGuidZAxis{0xA36D02E2, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
constexpr Guid kGuidRxAxis{0xA36D02F4, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
constexpr Guid kGuidRyAxis{0xA36D02F5, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
constexpr Guid kGuidRzAxis{0xA36D02E3, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
constexpr Guid kGuidSlider{0xA36D02E4, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
constexpr Guid kGuidButton{0xA36D02F0, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};
constexpr Guid kGuidPov{0xA36D02F2, 0xC9F3, 0x11CF, {0xBF, 0xC7, 0x44, 0x45, 0x53, 0x54, 0x00, 0x00}};

// DIJOYSTATE2.
struct JoyState2 {
  std::int32_t lX, lY, lZ;
  std::int32_t lRx, lRy, lRz;
  std::int32_t rglSlider[2];
  std::uint32_t rgdwPOV[4];
  std::uint8_t rgbButtons[128];
  std::int32_t lVX, lVY, lVZ;
  std::int32_t lVRx, lVRy, lVRz;
  std::int32_t rglVSlider[2];
  std::int32_t lAX, lAY, lAZ;
  std::int32_t lARx, lARy, lARz;
  std::int32_t rglASlider[2];
  std::int32_t lFX, lFY, lFZ;
  std::int32_t lFRx, lFRy, lFRz;
  std::int32_t rglFSlider[2];
};
static_assert(sizeof(JoyState2) == 272, "DIJOYSTATE2 is 272 bytes");

// Data offsets within JoyState2 (DIJOFS_*).
constexpr std::uint32_t kDijofsX = 0;
constexpr std::uint32_t kDijofsY = 4;
constexpr std::uint32_t kDijofsZ = 8;
constexpr std::uint32_t kDijofsRx = 12;
constexpr std::uint32_t kDijofsRy = 16;
constexpr std::uint32_t kDijofsRz = 20;
constexpr std::uint32_t DijofsSlider(std::uint32_t n) { return 24 + 4 * n; }
constexpr std::uint32_t DijofsButton(std::uint32_t n) { return 48 + n; }

// DIDEVICEOBJECTDATA of a 32-bit process (uAppData is pointer sized there).
struct DeviceObjectData {
  std::uint32_t dwOfs;
  std::uint32_t dwData;
  std::uint32_t dwTimeStamp;
  std::uint32_t dwSequence;
  std::uint32_t uAppData;
};
static_assert(sizeof(DeviceObjectData) == 20, "DIDEVICEOBJECTDATA is 20 bytes in a 32-bit process");

// DIDEVCAPS (the DirectX 5 and later size, 44 bytes).
struct DeviceCaps {
  std::uint32_t dwSize;
  std::uint32_t dwFlags;
  std::uint32_t dwDevType;
  std::uint32_t dwAxes;
  std::uint32_t dwButtons;
  std::uint32_t dwPOVs;
  std::uint32_t dwFFSamplePeriod;
  std::uint32_t dwFFMinTimeResolution;
  std::uint32_t dwFirmwareRevision;
  std::uint32_t dwHardwareRevision;
  std::uint32_t dwFFDriverVersion;
};
static_assert(sizeof(DeviceCaps) == 44, "DIDEVCAPS is 44 bytes");

// DIPROPHEADER and the two property records built on it.
struct PropHeader {
  std::uint32_t dwSize;
  std::uint32_t dwHeaderSize;
  std::uint32_t dwObj;
  std::uint32_t dwHow;
};
struct PropDword {
  PropHeader diph;
  std::uint32_t dwData;
};
struct PropRange {
  PropHeader diph;
  std::int32_t lMin;
  std::int32_t lMax;
};
static_assert(sizeof(PropDword) == 20 && sizeof(PropRange) == 24, "DIPROPDWORD and DIPROPRANGE sizes");

// The predefined property GUIDs are small integers: MAKEDIPROP(n).
enum class DiProperty : std::uint32_t { kBufferSize = 1, kRange = 4 };

// The predefined data formats the tool uses.
enum class DiDataFormat { kJoystick2 };  // c_dfDIJoystick2

// The parts of DIDEVICEINSTANCEA the tool looks at.
struct DeviceInstance {
  Guid guidInstance;
  Guid guidProduct;
  std::uint32_t dwDevType;
};

// The parts of DIDEVICEOBJECTINSTANCEA the tool looks at.
struct DeviceObjectInstance {
  Guid guidType;
  std::uint32_t dwOfs;
  std::uint32_t dwType;
  std::uint32_t dwFlags;
};

// Effect creation and parameters (DIEFF_*, DIEP_*, DIEB_*).
constexpr std::uint32_t kDieffObjectOffsets = 0x00000002;
constexpr std::uint32_t kDieffCartesian = 0x00000010;
constexpr std::uint32_t kDiepDirection = 0x00000040;
constexpr std::uint32_t kDiepTypeSpecificParams = 0x00000100;
constexpr std::uint32_t kDiepStart = 0x20000000;
constexpr std::uint32_t kDiebNoTrigger = 0xFFFFFFFF;
constexpr std::uint32_t kInfinite = 0xFFFFFFFF;
constexpr std::int32_t kDiFfNominalMax = 10000;
// dwSize of a DIEFFECT (the DirectInput 6 and later layout) in a 32-bit process.
constexpr std::uint32_t kDiEffectSize = 56;

constexpr Guid kGuidConstantForce{0x13541C20, 0x8E33, 0x11D0, {0x9A, 0xD0, 0x00, 0xA0, 0xC9, 0xA0, 0x6E, 0x35}};

// DICONSTANTFORCE.
struct ConstantForce {
  std::int32_t lMagnitude;
};

// DIEFFECT. The pointers are the program's own arrays; in the 32-bit build
// the record is the system's structure, byte for byte (dwSize kDiEffectSize).
struct Effect {
  std::uint32_t dwSize;
  std::uint32_t dwFlags;
  std::uint32_t dwDuration;
  std::uint32_t dwSamplePeriod;
  std::uint32_t dwGain;
  std::uint32_t dwTriggerButton;
  std::uint32_t dwTriggerRepeatInterval;
  std::uint32_t cAxes;
  std::uint32_t* rgdwAxes;
  std::int32_t* rglDirection;
  void* lpEnvelope;
  std::uint32_t cbTypeSpecificParams;
  void* lpvTypeSpecificParams;
  std::uint32_t dwStartDelay;
};

// IDirectInputEffect; the destructor is Release.
class DirectInputEffect {
 public:
  virtual ~DirectInputEffect() = default;
  // SetParameters(effect, flags).
  virtual HResult SetParameters(const Effect* effect, std::uint32_t flags) = 0;
};

// Enumeration callbacks return kDiEnumContinue or kDiEnumStop.
using DeviceCallback = int (*)(const DeviceInstance& instance, void* context);
using ObjectCallback = int (*)(const DeviceObjectInstance& object, void* context);

// IDirectInputDevice8A; the destructor is Release.
class DirectInputDevice {
 public:
  virtual ~DirectInputDevice() = default;
  // GetCapabilities(caps); caps->dwSize is set by the caller.
  virtual HResult GetCapabilities(DeviceCaps* caps) = 0;
  // SetProperty(property, header); header starts a PropDword or PropRange.
  virtual HResult SetProperty(DiProperty property, const PropHeader* header) = 0;
  // SetDataFormat with one of the predefined formats.
  virtual HResult SetDataFormat(DiDataFormat format) = 0;
  // SetCooperativeLevel(window, flags).
  virtual HResult SetCooperativeLevel(WindowId window, std::uint32_t flags) = 0;
  // EnumObjects(callback, context, flags).
  virtual HResult EnumObjects(ObjectCallback callback, void* context, std::uint32_t flags) = 0;
  // Acquire.
  virtual HResult Acquire() = 0;
  // Unacquire.
  virtual HResult Unacquire() = 0;
  // GetDeviceState(size, data).
  virtual HResult GetDeviceState(std::uint32_t size, void* data) = 0;
  // GetDeviceData(objectSize, events, count, flags); *count is the room on entry
  // and the number of events returned on exit.
  virtual HResult GetDeviceData(std::uint32_t objectSize, DeviceObjectData* events, std::uint32_t* count,
                                std::uint32_t flags) = 0;
  // Poll.
  virtual HResult Poll() = 0;
  // CreateEffect(effectType, parameters, &effect, NULL).
  virtual HResult CreateEffect(const Guid& effectType, const Effect* parameters,
                               std::unique_ptr<DirectInputEffect>* effect) = 0;
};

// IDirectInput8A; the destructor is Release.
class DirectInput {
 public:
  virtual ~DirectInput() = default;
  // EnumDevices(deviceClass, callback, context, flags).
  virtual HResult EnumDevices(std::uint32_t deviceClass, DeviceCallback callback, void* context,
                              std::uint32_t flags) = 0;
  // CreateDevice(instanceGuid, &device, NULL).
  virtual HResult CreateDevice(const Guid& instance, std::unique_ptr<DirectInputDevice>* device) = 0;
};

// Where DirectInput comes from.
class DirectInputProvider {
 public:
  virtual ~DirectInputProvider() = default;
  // DirectInput8Create(instance, version, IID_IDirectInput8A, &object, NULL).
  virtual HResult Create(ModuleToken instance, std::uint32_t version, std::unique_ptr<DirectInput>* object) = 0;
};

}  // namespace platform
