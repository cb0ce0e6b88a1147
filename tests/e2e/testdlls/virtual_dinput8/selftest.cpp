// Self-test of the virtual controller: loads the dinput8.dll that sits beside
// this program, scripts it through virtual_pad_control, calls it the way the
// gamepad tool does and checks what it reports and what it records.
// Run under Wine with WINEDLLOVERRIDES=dinput8=n. Exit code 0 when every
// check passed.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "virtual_pad_control.h"

namespace {

using vpad::Call;

using CreateFunction = HRESULT(WINAPI*)(HINSTANCE, DWORD, REFIID, LPVOID*, LPUNKNOWN);

CreateFunction g_create = nullptr;
vpad::VirtualPad g_pad;
HWND g_window = nullptr;
const char* g_case = "";
int g_failures = 0;

void Check(bool ok, const char* text, int line) {
  if (ok) return;
  ++g_failures;
  std::printf("  FAILED %s (line %d): %s\n", g_case, line, text);
}

void CheckResult(HRESULT actual, HRESULT expected, const char* text, int line) {
  if (actual == expected) return;
  ++g_failures;
  std::printf("  FAILED %s (line %d): %s returned 0x%08lX, expected 0x%08lX\n", g_case, line, text,
              static_cast<unsigned long>(actual), static_cast<unsigned long>(expected));
}

#define CHECK(condition) Check((condition), #condition, __LINE__)
#define CHECK_HR(expression, expected) CheckResult((expression), (expected), #expression, __LINE__)
#define REQUIRE(condition)                       \
  do {                                           \
    if (!(condition)) {                          \
      Check(false, #condition, __LINE__);        \
      return;                                    \
    }                                            \
  } while (0)

vpad::Record& ReadRecord() {
  static vpad::Record record;
  if (!g_pad.ReadRecord(record)) std::memset(&record, 0, sizeof record);
  return record;
}

IDirectInput8A* CreateInput() {
  void* object = nullptr;
  if (FAILED(g_create(GetModuleHandleA(nullptr), 0x0800, IID_IDirectInput8A, &object, nullptr))) {
    return nullptr;
  }
  return static_cast<IDirectInput8A*>(object);
}

struct Listed {
  std::vector<GUID> instances;
  std::vector<DIDEVICEINSTANCEA> details;
  std::size_t stopAfter = 0;  // 0 = never stop
};

BOOL CALLBACK ListDevice(LPCDIDEVICEINSTANCEA instance, LPVOID context) {
  auto* listed = static_cast<Listed*>(context);
  listed->instances.push_back(instance->guidInstance);
  listed->details.push_back(*instance);
  return listed->stopAfter != 0 && listed->instances.size() >= listed->stopAfter ? DIENUM_STOP
                                                                                  : DIENUM_CONTINUE;
}

struct DeviceChoice {
  IDirectInput8A* input;
  IDirectInputDevice8A* device;
};

BOOL CALLBACK CreateFirstDevice(LPCDIDEVICEINSTANCEA instance, LPVOID context) {
  auto* choice = static_cast<DeviceChoice*>(context);
  return SUCCEEDED(choice->input->CreateDevice(instance->guidInstance, &choice->device, nullptr))
             ? DIENUM_STOP
             : DIENUM_CONTINUE;
}

struct RangeSetting {
  IDirectInputDevice8A* device;
  int sliders;
};

// Sets the axis ranges the way the gamepad tool does: by offset, from the
// object's type, two sliders at most.
BOOL CALLBACK SetRange(LPCDIDEVICEOBJECTINSTANCEA object, LPVOID context) {
  auto* setting = static_cast<RangeSetting*>(context);
  int& sliders = setting->sliders;
  DWORD offset = 0xFFFFFFFF;
  const GUID& type = object->guidType;
  if (IsEqualGUID(type, GUID_XAxis)) offset = DIJOFS_X;
  else if (IsEqualGUID(type, GUID_YAxis)) offset = DIJOFS_Y;
  else if (IsEqualGUID(type, GUID_ZAxis)) offset = DIJOFS_Z;
  else if (IsEqualGUID(type, GUID_RxAxis)) offset = DIJOFS_RX;
  else if (IsEqualGUID(type, GUID_RyAxis)) offset = DIJOFS_RY;
  else if (IsEqualGUID(type, GUID_RzAxis)) offset = DIJOFS_RZ;
  else if (IsEqualGUID(type, GUID_Slider) && sliders < 2) offset = DIJOFS_SLIDER(sliders++);
  if (offset != 0xFFFFFFFF) {
    DIPROPRANGE range{};
    range.diph.dwSize = sizeof range;
    range.diph.dwHeaderSize = sizeof range.diph;
    range.diph.dwObj = offset;
    range.diph.dwHow = DIPH_BYOFFSET;
    range.lMin = -127;
    range.lMax = 127;
    setting->device->SetProperty(DIPROP_RANGE, &range.diph);
  }
  return DIENUM_CONTINUE;
}

HRESULT SetBufferSize(IDirectInputDevice8A* device, DWORD size) {
  DIPROPDWORD property{};
  property.diph.dwSize = sizeof property;
  property.diph.dwHeaderSize = sizeof property.diph;
  property.diph.dwObj = 0;
  property.diph.dwHow = DIPH_DEVICE;
  property.dwData = size;
  return device->SetProperty(DIPROP_BUFFERSIZE, &property.diph);
}

// The gamepad tool's device setup: force-feedback pass, plain pass,
// capabilities, buffer size, data format, cooperative level, ranges, acquire.
DeviceChoice SetUpLikeTheTool() {
  DeviceChoice choice{CreateInput(), nullptr};
  if (choice.input == nullptr) return choice;
  choice.input->EnumDevices(DI8DEVCLASS_GAMECTRL, CreateFirstDevice, &choice,
                            DIEDFL_ATTACHEDONLY | DIEDFL_FORCEFEEDBACK);
  if (choice.device == nullptr) {
    choice.input->EnumDevices(DI8DEVCLASS_GAMECTRL, CreateFirstDevice, &choice, DIEDFL_ATTACHEDONLY);
  }
  if (choice.device == nullptr) return choice;
  DIDEVCAPS caps{};
  caps.dwSize = sizeof caps;
  choice.device->GetCapabilities(&caps);
  SetBufferSize(choice.device, 640);
  choice.device->SetDataFormat(&c_dfDIJoystick2);
  choice.device->SetCooperativeLevel(g_window, DISCL_EXCLUSIVE | DISCL_BACKGROUND);
  RangeSetting ranges{choice.device, 0};
  choice.device->EnumObjects(SetRange, &ranges, DIDFT_ALL);
  choice.device->Acquire();
  return choice;
}

void Release(DeviceChoice& choice) {
  if (choice.device != nullptr) {
    choice.device->Unacquire();
    choice.device->Release();
  }
  if (choice.input != nullptr) choice.input->Release();
  choice = DeviceChoice{nullptr, nullptr};
}

HRESULT ReadEvents(IDirectInputDevice8A* device, std::vector<DIDEVICEOBJECTDATA>& events,
                   DWORD room = 32, DWORD flags = 0) {
  events.assign(room == 0 ? 1 : room, DIDEVICEOBJECTDATA{});
  DWORD count = room;
  const HRESULT result = device->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), events.data(), &count, flags);
  events.resize(SUCCEEDED(result) ? count : 0);
  return result;
}

// The DIEFFECT the gamepad tool creates its constant force with.
struct ToolEffect {
  DWORD axes[2] = {DIJOFS_X, DIJOFS_Y};
  LONG direction[2] = {0, 0};
  DICONSTANTFORCE force{0};
  DIEFFECT effect{};

  explicit ToolEffect(DWORD axisCount) {
    effect.dwSize = sizeof effect;
    effect.dwFlags = DIEFF_CARTESIAN | DIEFF_OBJECTOFFSETS;
    effect.dwDuration = INFINITE;
    effect.dwGain = DI_FFNOMINALMAX;
    effect.dwTriggerButton = DIEB_NOTRIGGER;
    effect.cAxes = axisCount;
    effect.rgdwAxes = axes;
    effect.rglDirection = direction;
    effect.cbTypeSpecificParams = sizeof force;
    effect.lpvTypeSpecificParams = &force;
  }
};

// The per-cycle update the gamepad tool sends.
HRESULT SendForce(IDirectInputEffect* effect, DWORD axisCount, LONG x, LONG y, LONG magnitude) {
  LONG direction[2] = {x, y};
  DICONSTANTFORCE force{magnitude};
  DIEFFECT parameters{};
  parameters.dwSize = sizeof parameters;
  parameters.dwFlags = DIEFF_CARTESIAN | DIEFF_OBJECTOFFSETS;
  parameters.cAxes = axisCount;
  parameters.rglDirection = direction;
  parameters.cbTypeSpecificParams = sizeof force;
  parameters.lpvTypeSpecificParams = &force;
  return effect->SetParameters(&parameters, DIEP_DIRECTION | DIEP_TYPESPECIFICPARAMS | DIEP_START);
}

vpad::DeviceConfig PadWithoutForce(std::uint32_t number) { return vpad::StandardPad(false, number); }
vpad::DeviceConfig PadWithForce(std::uint32_t number) { return vpad::StandardPad(true, number); }

void CreateRecordsVersionAndInterface() {
  IDirectInput8A* input = CreateInput();
  REQUIRE(input != nullptr);
  const vpad::Record& record = ReadRecord();
  CHECK(record.createCount == 1);
  CHECK(record.creates[0].version == 0x0800);
  CHECK(IsEqualGUID(record.creates[0].iid, IID_IDirectInput8A));
  CHECK(record.creates[0].instanceNonNull == 1);
  CHECK(record.creates[0].outerNonNull == 0);
  CHECK(record.creates[0].result == DI_OK);
  CHECK(record.inputsAlive == 1);
  CHECK(input->Release() == 0);
  CHECK(ReadRecord().inputsAlive == 0);

  void* object = reinterpret_cast<void*>(1);
  CHECK_HR(g_create(GetModuleHandleA(nullptr), 0x0700, IID_IDirectInput8A, &object, nullptr),
           DIERR_OLDDIRECTINPUTVERSION);
  CHECK(object == nullptr);
  CHECK_HR(g_create(GetModuleHandleA(nullptr), 0x0800, IID_IDirectInput8W, &object, nullptr),
           E_NOINTERFACE);
  CHECK_HR(g_create(nullptr, 0x0800, IID_IDirectInput8A, &object, nullptr), DIERR_INVALIDPARAM);

  g_pad.ForceResult(Call::DirectInput8Create, DIERR_OUTOFMEMORY, 1);
  CHECK_HR(g_create(GetModuleHandleA(nullptr), 0x0800, IID_IDirectInput8A, &object, nullptr),
           DIERR_OUTOFMEMORY);
  CHECK(object == nullptr);
  CHECK_HR(g_create(GetModuleHandleA(nullptr), 0x0800, IID_IDirectInput8A, &object, nullptr), DI_OK);
  if (object != nullptr) static_cast<IDirectInput8A*>(object)->Release();
  CHECK(ReadRecord().createCount == 6);
  CHECK(ReadRecord().creates[1].result == DIERR_OLDDIRECTINPUTVERSION);
  CHECK(ReadRecord().creates[2].result == E_NOINTERFACE);
  CHECK(ReadRecord().creates[4].result == DIERR_OUTOFMEMORY);
  CHECK(ReadRecord().creates[5].result == DI_OK);
}

void EnumDevicesHonoursClassFlagsAndOrder() {
  vpad::DeviceConfig plain = PadWithoutForce(1);
  vpad::DeviceConfig feedback = PadWithForce(2);
  vpad::DeviceConfig unplugged = PadWithForce(3);
  unplugged.attached = 0;
  g_pad.AddDevice(plain);
  g_pad.AddDevice(feedback);
  g_pad.AddDevice(unplugged);
  IDirectInput8A* input = CreateInput();
  REQUIRE(input != nullptr);

  struct Row {
    DWORD devType;
    DWORD flags;
    std::vector<GUID> expected;
  };
  const std::vector<Row> table = {
      {DI8DEVCLASS_GAMECTRL, DIEDFL_ATTACHEDONLY | DIEDFL_FORCEFEEDBACK, {feedback.instance}},
      {DI8DEVCLASS_GAMECTRL, DIEDFL_ATTACHEDONLY, {plain.instance, feedback.instance}},
      {DI8DEVCLASS_GAMECTRL, DIEDFL_ALLDEVICES, {plain.instance, feedback.instance, unplugged.instance}},
      {DI8DEVCLASS_GAMECTRL, DIEDFL_FORCEFEEDBACK, {feedback.instance, unplugged.instance}},
      {DI8DEVCLASS_ALL, DIEDFL_ATTACHEDONLY, {plain.instance, feedback.instance}},
      {DI8DEVTYPE_GAMEPAD, DIEDFL_ATTACHEDONLY, {plain.instance, feedback.instance}},
      {DI8DEVTYPE_JOYSTICK, DIEDFL_ALLDEVICES, {}},
      {DI8DEVCLASS_KEYBOARD, DIEDFL_ALLDEVICES, {}},
      {DI8DEVCLASS_POINTER, DIEDFL_ALLDEVICES, {}},
  };
  for (const Row& row : table) {
    Listed listed;
    CHECK_HR(input->EnumDevices(row.devType, ListDevice, &listed, row.flags), DI_OK);
    bool same = listed.instances.size() == row.expected.size();
    for (std::size_t i = 0; same && i < row.expected.size(); ++i) {
      same = IsEqualGUID(listed.instances[i], row.expected[i]) != 0;
    }
    if (!same) std::printf("    class %lu flags 0x%lX\n", row.devType, row.flags);
    CHECK(same);
  }

  Listed stopping;
  stopping.stopAfter = 1;
  CHECK_HR(input->EnumDevices(DI8DEVCLASS_GAMECTRL, ListDevice, &stopping, DIEDFL_ALLDEVICES), DI_OK);
  CHECK(stopping.instances.size() == 1);
  const vpad::Record& record = ReadRecord();
  CHECK(record.enumDevicesCount == table.size() + 1);
  CHECK(record.enumDevices[0].devType == DI8DEVCLASS_GAMECTRL);
  CHECK(record.enumDevices[0].flags == (DIEDFL_ATTACHEDONLY | DIEDFL_FORCEFEEDBACK));
  CHECK(record.enumDevices[0].callbacks == 1);
  CHECK(record.enumDevices[table.size()].callbacks == 1);
  CHECK(record.enumDevices[table.size()].stopped == 1);
  CHECK(record.enumDevices[2].callbacks == 3);
  CHECK(record.enumDevices[2].stopped == 0);

  Listed details;
  input->EnumDevices(DI8DEVCLASS_GAMECTRL, ListDevice, &details, DIEDFL_ATTACHEDONLY);
  REQUIRE(details.details.size() == 2);
  CHECK(details.details[0].dwSize == sizeof(DIDEVICEINSTANCEA));
  CHECK(std::strcmp(details.details[0].tszInstanceName, "Virtual Pad 1") == 0);
  CHECK(std::strcmp(details.details[1].tszProductName, "Virtual Pad") == 0);
  CHECK((details.details[0].dwDevType & 0xFF) == DI8DEVTYPE_GAMEPAD);
  CHECK(IsEqualGUID(details.details[0].guidFFDriver, GUID_NULL));
  CHECK(!IsEqualGUID(details.details[1].guidFFDriver, GUID_NULL));

  CHECK_HR(input->EnumDevices(DI8DEVCLASS_GAMECTRL, ListDevice, &details, 0x2), DIERR_INVALIDPARAM);
  CHECK_HR(input->EnumDevices(DI8DEVCLASS_GAMECTRL, nullptr, nullptr, 0), DIERR_INVALIDPARAM);
  CHECK_HR(input->GetDeviceStatus(plain.instance), DI_OK);
  CHECK_HR(input->GetDeviceStatus(unplugged.instance), DI_NOTATTACHED);
  input->Release();
}

void NoControllerMeansNoDevices() {
  IDirectInput8A* input = CreateInput();
  REQUIRE(input != nullptr);
  Listed listed;
  CHECK_HR(input->EnumDevices(DI8DEVCLASS_GAMECTRL, ListDevice, &listed, DIEDFL_ATTACHEDONLY), DI_OK);
  CHECK(listed.instances.empty());
  IDirectInputDevice8A* device = reinterpret_cast<IDirectInputDevice8A*>(1);
  CHECK_HR(input->CreateDevice(PadWithoutForce(1).instance, &device, nullptr), DIERR_DEVICENOTREG);
  CHECK(device == nullptr);
  CHECK(ReadRecord().createDevices[0].device == -1);
  input->Release();
}

void CreateDeviceFindsInstanceAndHonoursForcedFailure() {
  g_pad.AddDevice(PadWithoutForce(1));
  g_pad.AddDevice(PadWithForce(2));
  IDirectInput8A* input = CreateInput();
  REQUIRE(input != nullptr);
  const GUID second = PadWithForce(2).instance;

  IDirectInputDevice8A* device = nullptr;
  g_pad.ForceResult(Call::CreateDevice, DIERR_GENERIC, 1);
  CHECK_HR(input->CreateDevice(second, &device, nullptr), DIERR_GENERIC);
  CHECK(device == nullptr);
  CHECK_HR(input->CreateDevice(second, &device, nullptr), DI_OK);
  REQUIRE(device != nullptr);
  const vpad::Record& record = ReadRecord();
  CHECK(record.createDeviceCount == 2);
  CHECK(record.createDevices[0].result == DIERR_GENERIC);
  CHECK(record.createDevices[1].device == 1);
  CHECK(IsEqualGUID(record.createDevices[1].instance, second));
  CHECK(record.devicesAlive == 1);

  DIDEVICEINSTANCEA info{};
  info.dwSize = sizeof info;
  CHECK_HR(device->GetDeviceInfo(&info), DI_OK);
  CHECK(IsEqualGUID(info.guidInstance, second));

  // The device keeps its DirectInput object alive.
  CHECK(input->Release() == 1);
  CHECK(ReadRecord().inputsAlive == 1);
  CHECK(device->Release() == 0);
  CHECK(ReadRecord().devicesAlive == 0);
  CHECK(ReadRecord().inputsAlive == 0);
}

void ToolSetupIsRecorded() {
  g_pad.AddDevice(PadWithoutForce(1));
  DeviceChoice choice = SetUpLikeTheTool();
  REQUIRE(choice.device != nullptr);
  const vpad::Record& record = ReadRecord();

  CHECK(record.lastCapabilitiesSize == sizeof(DIDEVCAPS));
  CHECK(record.propertyCount == 6);
  const vpad::PropertyRecord& buffer = record.properties[0];
  CHECK(buffer.property == 1);
  CHECK(buffer.size == sizeof(DIPROPDWORD));
  CHECK(buffer.headerSize == sizeof(DIPROPHEADER));
  CHECK(buffer.obj == 0);
  CHECK(buffer.how == DIPH_DEVICE);
  CHECK(buffer.data == 640);
  CHECK(buffer.result == DI_OK);
  const DWORD offsets[] = {DIJOFS_X, DIJOFS_Y, DIJOFS_Z, DIJOFS_SLIDER(0), DIJOFS_SLIDER(1)};
  for (std::uint32_t i = 0; i < 5; ++i) {
    const vpad::PropertyRecord& range = record.properties[1 + i];
    CHECK(range.property == 4);
    CHECK(range.size == sizeof(DIPROPRANGE));
    CHECK(range.obj == offsets[i]);
    CHECK(range.how == DIPH_BYOFFSET);
    CHECK(range.min == -127);
    CHECK(range.max == 127);
    CHECK(range.result == DI_OK);
  }

  CHECK(record.dataFormatCount == 1);
  CHECK(record.dataFormats[0].size == sizeof(DIDATAFORMAT));
  CHECK(record.dataFormats[0].objSize == sizeof(DIOBJECTDATAFORMAT));
  CHECK(record.dataFormats[0].dataSize == 272);
  CHECK(record.dataFormats[0].numObjs == c_dfDIJoystick2.dwNumObjs);
  CHECK(record.dataFormats[0].matchesJoystick2 == 1);
  CHECK(record.cooperativeLevelCount == 1);
  CHECK(record.cooperativeLevels[0].flags == (DISCL_EXCLUSIVE | DISCL_BACKGROUND));
  CHECK(record.cooperativeLevels[0].windowNonNull == 1);
  CHECK(record.cooperativeLevels[0].windowTopLevel == 1);
  CHECK(record.cooperativeLevels[0].result == DI_OK);
  CHECK(record.enumObjectsCount == 1);
  CHECK(record.enumObjects[0].flags == DIDFT_ALL);
  CHECK(record.enumObjects[0].callbacks == 18);
  CHECK(record.calls[static_cast<int>(Call::Acquire)] == 1);

  const Call expected[] = {Call::DirectInput8Create, Call::EnumDevices,   Call::EnumDevices,
                           Call::CreateDevice,       Call::GetCapabilities, Call::SetProperty,
                           Call::SetDataFormat,      Call::SetCooperativeLevel, Call::EnumObjects,
                           Call::SetProperty,        Call::SetProperty,   Call::SetProperty,
                           Call::SetProperty,        Call::SetProperty,   Call::Acquire};
  CHECK(record.callLogCount == sizeof expected / sizeof expected[0]);
  for (std::uint32_t i = 0; i < sizeof expected / sizeof expected[0]; ++i) {
    if (record.callLog[i].call != static_cast<std::uint32_t>(expected[i])) {
      std::printf("    call %u was %s, expected %s\n", i,
                  vpad::CallName(static_cast<Call>(record.callLog[i].call)), vpad::CallName(expected[i]));
      CHECK(false);
    }
  }

  DIDEVCAPS caps{};
  caps.dwSize = sizeof caps;
  CHECK_HR(choice.device->GetCapabilities(&caps), DI_OK);
  CHECK((caps.dwFlags & DIDC_ATTACHED) != 0);
  CHECK((caps.dwFlags & (DIDC_POLLEDDEVICE | DIDC_POLLEDDATAFORMAT | DIDC_FORCEFEEDBACK)) == 0);
  CHECK(caps.dwAxes == 5);
  CHECK(caps.dwButtons == 12);
  CHECK(caps.dwPOVs == 1);
  caps.dwSize = 40;
  CHECK_HR(choice.device->GetCapabilities(&caps), DIERR_INVALIDPARAM);
  Release(choice);

  // Another format than c_dfDIJoystick2 is recorded as such.
  IDirectInput8A* input = CreateInput();
  IDirectInputDevice8A* device = nullptr;
  REQUIRE(input != nullptr);
  REQUIRE(SUCCEEDED(input->CreateDevice(PadWithoutForce(1).instance, &device, nullptr)));
  CHECK_HR(device->SetDataFormat(&c_dfDIJoystick), DI_OK);
  CHECK(ReadRecord().dataFormats[1].dataSize == sizeof(DIJOYSTATE));
  CHECK(ReadRecord().dataFormats[1].matchesJoystick2 == 0);
  device->Release();
  input->Release();
}

void SetupCallsRejectWrongArguments() {
  g_pad.AddDevice(PadWithoutForce(1));
  IDirectInput8A* input = CreateInput();
  IDirectInputDevice8A* device = nullptr;
  REQUIRE(input != nullptr);
  REQUIRE(SUCCEEDED(input->CreateDevice(PadWithoutForce(1).instance, &device, nullptr)));

  CHECK_HR(device->Acquire(), DIERR_INVALIDPARAM);  // no data format yet
  DIPROPRANGE range{};
  range.diph.dwSize = sizeof range;
  range.diph.dwHeaderSize = sizeof range.diph;
  range.diph.dwObj = DIJOFS_X;
  range.diph.dwHow = DIPH_BYOFFSET;
  range.lMin = -127;
  range.lMax = 127;
  CHECK_HR(device->SetProperty(DIPROP_RANGE, &range.diph), DIERR_OBJECTNOTFOUND);  // no format yet

  g_pad.ForceResult(Call::SetDataFormat, DIERR_GENERIC, 1);
  CHECK_HR(device->SetDataFormat(&c_dfDIJoystick2), DIERR_GENERIC);
  CHECK(ReadRecord().dataFormats[0].result == DIERR_GENERIC);
  CHECK_HR(device->SetDataFormat(&c_dfDIJoystick2), DI_OK);

  CHECK_HR(device->SetProperty(DIPROP_RANGE, &range.diph), DI_OK);
  range.diph.dwObj = DIJOFS_RX;  // the pad has no X rotation
  CHECK_HR(device->SetProperty(DIPROP_RANGE, &range.diph), DIERR_OBJECTNOTFOUND);
  range.diph.dwObj = DIJOFS_BUTTON(0);
  CHECK_HR(device->SetProperty(DIPROP_RANGE, &range.diph), DIERR_UNSUPPORTED);
  range.diph.dwObj = DIJOFS_Y;
  range.lMin = 5;
  range.lMax = -5;
  CHECK_HR(device->SetProperty(DIPROP_RANGE, &range.diph), DIERR_INVALIDPARAM);
  range.diph.dwSize = sizeof(DIPROPDWORD);
  CHECK_HR(device->SetProperty(DIPROP_RANGE, &range.diph), DIERR_INVALIDPARAM);

  g_pad.ForceResult(Call::SetProperty, DIERR_OUTOFMEMORY, 1);
  CHECK_HR(SetBufferSize(device, 640), DIERR_OUTOFMEMORY);
  CHECK_HR(SetBufferSize(device, 640), DI_OK);

  CHECK_HR(device->SetCooperativeLevel(nullptr, DISCL_EXCLUSIVE | DISCL_BACKGROUND), E_HANDLE);
  CHECK_HR(device->SetCooperativeLevel(g_window, DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE | DISCL_BACKGROUND),
           DIERR_INVALIDPARAM);
  CHECK_HR(device->SetCooperativeLevel(g_window, DISCL_EXCLUSIVE), DIERR_INVALIDPARAM);
  g_pad.ForceResult(Call::SetCooperativeLevel, DIERR_GENERIC, 1);
  CHECK_HR(device->SetCooperativeLevel(g_window, DISCL_EXCLUSIVE | DISCL_BACKGROUND), DIERR_GENERIC);
  CHECK_HR(device->SetCooperativeLevel(g_window, DISCL_EXCLUSIVE | DISCL_BACKGROUND), DI_OK);
  const vpad::Record& record = ReadRecord();
  CHECK(record.cooperativeLevelCount == 5);
  CHECK(record.cooperativeLevels[0].windowNonNull == 0);
  CHECK(record.cooperativeLevels[0].result == E_HANDLE);
  CHECK(record.cooperativeLevels[3].result == DIERR_GENERIC);

  CHECK_HR(device->Acquire(), DI_OK);
  CHECK_HR(device->Acquire(), DI_NOEFFECT);
  CHECK_HR(SetBufferSize(device, 32), DIERR_ACQUIRED);
  CHECK_HR(device->SetDataFormat(&c_dfDIJoystick2), DIERR_ACQUIRED);
  CHECK_HR(device->SetCooperativeLevel(g_window, DISCL_NONEXCLUSIVE | DISCL_BACKGROUND), DIERR_ACQUIRED);
  CHECK_HR(device->Unacquire(), DI_OK);
  CHECK_HR(device->Unacquire(), DI_NOEFFECT);
  device->Release();
  input->Release();
}

struct Enumerated {
  std::vector<DIDEVICEOBJECTINSTANCEA> objects;
  std::size_t stopAfter = 0;
};

BOOL CALLBACK ListObject(LPCDIDEVICEOBJECTINSTANCEA object, LPVOID context) {
  auto* enumerated = static_cast<Enumerated*>(context);
  enumerated->objects.push_back(*object);
  return enumerated->stopAfter != 0 && enumerated->objects.size() >= enumerated->stopAfter
             ? DIENUM_STOP
             : DIENUM_CONTINUE;
}

void EnumObjectsHonoursTypeFilter() {
  vpad::PadShape threeSliders;
  threeSliders.sliders = 3;
  g_pad.AddDevice(PadWithForce(1));
  g_pad.AddDevice(PadWithoutForce(2));
  g_pad.AddDevice(vpad::MakePad(threeSliders, 3));
  IDirectInput8A* input = CreateInput();
  REQUIRE(input != nullptr);
  IDirectInputDevice8A* feedback = nullptr;
  IDirectInputDevice8A* plain = nullptr;
  IDirectInputDevice8A* sliders = nullptr;
  REQUIRE(SUCCEEDED(input->CreateDevice(PadWithForce(1).instance, &feedback, nullptr)));
  REQUIRE(SUCCEEDED(input->CreateDevice(PadWithoutForce(2).instance, &plain, nullptr)));
  REQUIRE(SUCCEEDED(input->CreateDevice(vpad::MakePad(threeSliders, 3).instance, &sliders, nullptr)));

  struct Row {
    IDirectInputDevice8A* device;
    DWORD filter;
    std::size_t expected;
  };
  const Row table[] = {
      {feedback, DIDFT_ALL, 18},
      {feedback, DIDFT_AXIS, 5},
      {feedback, DIDFT_ABSAXIS, 5},
      {feedback, DIDFT_RELAXIS, 0},
      {feedback, DIDFT_BUTTON, 12},
      {feedback, DIDFT_PSHBUTTON, 12},
      {feedback, DIDFT_POV, 1},
      {feedback, DIDFT_AXIS | DIDFT_FFACTUATOR, 2},
      {feedback, DIDFT_BUTTON | DIDFT_FFEFFECTTRIGGER, 12},
      {feedback, DIDFT_FFACTUATOR, 2},
      {plain, DIDFT_AXIS | DIDFT_FFACTUATOR, 0},
      {plain, DIDFT_BUTTON | DIDFT_FFEFFECTTRIGGER, 0},
      {plain, DIDFT_AXIS | DIDFT_POV, 6},
      {sliders, DIDFT_AXIS, 6},
  };
  for (const Row& row : table) {
    Enumerated enumerated;
    CHECK_HR(row.device->EnumObjects(ListObject, &enumerated, row.filter), DI_OK);
    if (enumerated.objects.size() != row.expected) {
      std::printf("    filter 0x%08lX listed %u objects, expected %u\n", row.filter,
                  static_cast<unsigned>(enumerated.objects.size()), static_cast<unsigned>(row.expected));
      CHECK(false);
    }
  }

  Enumerated all;
  feedback->EnumObjects(ListObject, &all, DIDFT_ALL);
  REQUIRE(all.objects.size() == 18);
  const GUID* order[] = {&GUID_XAxis, &GUID_YAxis, &GUID_ZAxis, &GUID_Slider, &GUID_Slider, &GUID_POV};
  const DWORD offsets[] = {DIJOFS_X, DIJOFS_Y, DIJOFS_Z, DIJOFS_SLIDER(0), DIJOFS_SLIDER(1), DIJOFS_POV(0)};
  for (int i = 0; i < 6; ++i) {
    CHECK(IsEqualGUID(all.objects[i].guidType, *order[i]));
    CHECK(all.objects[i].dwOfs == offsets[i]);
  }
  for (int i = 0; i < 12; ++i) {
    CHECK(IsEqualGUID(all.objects[6 + i].guidType, GUID_Button));
    CHECK(all.objects[6 + i].dwOfs == static_cast<DWORD>(DIJOFS_BUTTON(i)));
    CHECK(DIDFT_GETINSTANCE(all.objects[6 + i].dwType) == i);
  }
  CHECK(all.objects[0].dwSize == sizeof(DIDEVICEOBJECTINSTANCEA));
  CHECK((all.objects[0].dwFlags & DIDOI_FFACTUATOR) != 0);
  CHECK((all.objects[1].dwFlags & DIDOI_FFACTUATOR) != 0);
  CHECK((all.objects[2].dwFlags & DIDOI_FFACTUATOR) == 0);
  CHECK(DIDFT_GETTYPE(all.objects[5].dwType) == DIDFT_POV);
  CHECK(std::strcmp(all.objects[6].tszName, "Button 1") == 0);

  Enumerated stopping;
  stopping.stopAfter = 3;
  CHECK_HR(feedback->EnumObjects(ListObject, &stopping, DIDFT_ALL), DI_OK);
  CHECK(stopping.objects.size() == 3);
  const vpad::Record& record = ReadRecord();
  const std::uint32_t last = record.enumObjectsCount - 1;
  CHECK(record.enumObjects[last].callbacks == 3);
  CHECK(record.enumObjects[last].stopped == 1);
  CHECK(record.enumObjects[1].flags == DIDFT_AXIS);

  Enumerated third;
  sliders->EnumObjects(ListObject, &third, DIDFT_AXIS);
  REQUIRE(third.objects.size() == 6);
  CHECK(IsEqualGUID(third.objects[5].guidType, GUID_Slider));
  CHECK(third.objects[5].dwOfs == vpad::kNoOffset);

  feedback->Release();
  plain->Release();
  sliders->Release();
  input->Release();
}

void GetDeviceStateReturnsScriptedState() {
  g_pad.AddDevice(PadWithoutForce(1));
  DeviceChoice choice = SetUpLikeTheTool();
  REQUIRE(choice.device != nullptr);
  DIJOYSTATE2 state{};
  CHECK_HR(choice.device->GetDeviceState(sizeof state, &state), DI_OK);
  CHECK(state.lX == 0);
  CHECK(state.rgdwPOV[0] == vpad::VirtualPad::kHatCentred);
  CHECK(state.rgdwPOV[1] == vpad::VirtualPad::kHatCentred);

  g_pad.SetAxis(vpad::Axis::X, 64);
  g_pad.SetAxis(vpad::Axis::Y, -64);
  g_pad.SetAxis(vpad::Axis::Z, 5);
  g_pad.SetAxis(vpad::Axis::Slider0, -127);
  g_pad.SetAxis(vpad::Axis::Slider1, 127);
  g_pad.SetHat(0, 9000);
  CHECK(g_pad.PressButton(2));
  CHECK_HR(choice.device->GetDeviceState(sizeof state, &state), DI_OK);
  CHECK(state.lX == 64);
  CHECK(state.lY == -64);
  CHECK(state.lZ == 5);
  CHECK(state.rglSlider[0] == -127);
  CHECK(state.rglSlider[1] == 127);
  CHECK(state.rgdwPOV[0] == 9000);
  CHECK(state.rgbButtons[2] == 0x80);
  CHECK(state.rgbButtons[1] == 0);
  CHECK(g_pad.ReleaseButton(2));
  CHECK_HR(choice.device->GetDeviceState(sizeof state, &state), DI_OK);
  CHECK(state.rgbButtons[2] == 0);

  CHECK_HR(choice.device->GetDeviceState(sizeof(DIJOYSTATE), &state), DIERR_INVALIDPARAM);
  const vpad::Record& record = ReadRecord();
  CHECK(record.lastStateSize == sizeof(DIJOYSTATE));
  CHECK(record.wrongStateSizes == 1);
  CHECK(record.calls[static_cast<int>(Call::GetDeviceState)] == 4);

  choice.device->Unacquire();
  CHECK_HR(choice.device->GetDeviceState(sizeof state, &state), DIERR_NOTACQUIRED);
  Release(choice);
}

void GetDeviceDataTakesQueuedEventsInOrder() {
  g_pad.AddDevice(PadWithoutForce(1));
  DeviceChoice choice = SetUpLikeTheTool();
  REQUIRE(choice.device != nullptr);
  std::vector<DIDEVICEOBJECTDATA> events;

  CHECK_HR(ReadEvents(choice.device, events), DI_OK);
  CHECK(events.empty());
  CHECK(g_pad.PressButton(2));
  CHECK(g_pad.PressButton(2));  // already down: no second event
  CHECK(g_pad.ReleaseButton(2));
  CHECK_HR(ReadEvents(choice.device, events), DI_OK);
  REQUIRE(events.size() == 2);
  CHECK(events[0].dwOfs == DIJOFS_BUTTON(2));
  CHECK(events[0].dwData == 0x80);
  CHECK(events[1].dwOfs == DIJOFS_BUTTON(2));
  CHECK(events[1].dwData == 0);
  CHECK(events[1].dwSequence > events[0].dwSequence);
  CHECK_HR(ReadEvents(choice.device, events), DI_OK);
  CHECK(events.empty());

  CHECK(g_pad.TapButton(0));
  DIJOYSTATE2 state{};
  choice.device->GetDeviceState(sizeof state, &state);
  CHECK(state.rgbButtons[0] == 0);
  CHECK_HR(ReadEvents(choice.device, events, 32, DIGDD_PEEK), DI_OK);
  CHECK(events.size() == 2);
  CHECK_HR(ReadEvents(choice.device, events, 1), DI_OK);
  REQUIRE(events.size() == 1);
  CHECK(events[0].dwData == 0x80);
  CHECK_HR(ReadEvents(choice.device, events), DI_OK);
  REQUIRE(events.size() == 1);
  CHECK(events[0].dwData == 0);

  CHECK(g_pad.QueueEvent(DIJOFS_BUTTON(32), 0x80));
  DIDEVICEOBJECTDATA_DX3 old[4];
  DWORD count = 4;
  CHECK_HR(choice.device->GetDeviceData(sizeof old[0], reinterpret_cast<LPDIDEVICEOBJECTDATA>(old),
                                        &count, 0),
           DI_OK);
  CHECK(count == 1);
  CHECK(old[0].dwOfs == 80);
  count = 4;
  CHECK_HR(choice.device->GetDeviceData(24, events.data(), &count, 0), DIERR_INVALIDPARAM);
  CHECK(count == 0);
  CHECK_HR(ReadEvents(choice.device, events, 32, 0x2), DIERR_INVALIDPARAM);
  CHECK_HR(choice.device->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), nullptr, nullptr, 0),
           DIERR_INVALIDPARAM);

  // A null array with a count removes that many events.
  CHECK(g_pad.TapButton(4));
  count = INFINITE;
  CHECK_HR(choice.device->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), nullptr, &count, 0), DI_OK);
  CHECK(count == 2);

  ReadEvents(choice.device, events, 32);
  const vpad::Record& record = ReadRecord();
  CHECK(record.lastObjectDataSize == sizeof(DIDEVICEOBJECTDATA));
  CHECK(record.lastDataRoom == 32);
  CHECK(record.lastDataFlags == 0);
  CHECK(record.eventsTaken == 7);
  Release(choice);
}

void BufferOverflowDropsOldestAndIsReported() {
  g_pad.AddDevice(PadWithoutForce(1));
  IDirectInput8A* input = CreateInput();
  IDirectInputDevice8A* device = nullptr;
  REQUIRE(input != nullptr);
  REQUIRE(SUCCEEDED(input->CreateDevice(PadWithoutForce(1).instance, &device, nullptr)));
  SetBufferSize(device, 4);
  device->SetDataFormat(&c_dfDIJoystick2);
  REQUIRE(SUCCEEDED(device->Acquire()));
  for (std::uint32_t i = 0; i < 6; ++i) CHECK(g_pad.QueueEvent(DIJOFS_BUTTON(i), 0x80));
  std::vector<DIDEVICEOBJECTDATA> events;
  CHECK_HR(ReadEvents(device, events), DI_BUFFEROVERFLOW);
  REQUIRE(events.size() == 4);
  CHECK(events[0].dwOfs == DIJOFS_BUTTON(2));
  CHECK(events[3].dwOfs == DIJOFS_BUTTON(5));
  CHECK(g_pad.QueueEvent(DIJOFS_BUTTON(7), 0x80));
  CHECK_HR(ReadEvents(device, events), DI_OK);
  CHECK(events.size() == 1);

  // A forced success code still delivers the events.
  g_pad.ForceResult(Call::GetDeviceData, DI_BUFFEROVERFLOW, 1);
  CHECK(g_pad.QueueEvent(DIJOFS_BUTTON(1), 0));
  CHECK_HR(ReadEvents(device, events), DI_BUFFEROVERFLOW);
  REQUIRE(events.size() == 1);
  CHECK(events[0].dwOfs == DIJOFS_BUTTON(1));
  device->Release();
  input->Release();
}

void EventsAreBufferedOnlyWhileAcquiredWithABuffer() {
  g_pad.AddDevice(PadWithoutForce(1));
  CHECK(!g_pad.PressButton(0));
  CHECK(g_pad.LastError().find("not acquired") != std::string::npos);
  IDirectInput8A* input = CreateInput();
  IDirectInputDevice8A* device = nullptr;
  REQUIRE(input != nullptr);
  REQUIRE(SUCCEEDED(input->CreateDevice(PadWithoutForce(1).instance, &device, nullptr)));
  device->SetDataFormat(&c_dfDIJoystick2);
  REQUIRE(SUCCEEDED(device->Acquire()));
  CHECK(!g_pad.TapButton(1));
  CHECK(g_pad.LastError().find("no buffer size") != std::string::npos);
  std::vector<DIDEVICEOBJECTDATA> events;
  CHECK_HR(ReadEvents(device, events), DIERR_NOTBUFFERED);
  device->Unacquire();
  SetBufferSize(device, 8);
  CHECK(!g_pad.TapButton(1));
  device->Acquire();
  CHECK(g_pad.TapButton(1));
  CHECK_HR(ReadEvents(device, events), DI_OK);
  CHECK(events.size() == 2);
  device->Release();
  CHECK(!g_pad.TapButton(1));  // the device object is gone
  input->Release();
}

void ForcedResultsAffectTheNextCalls() {
  g_pad.AddDevice(PadWithoutForce(1));
  DeviceChoice choice = SetUpLikeTheTool();
  REQUIRE(choice.device != nullptr);
  DIJOYSTATE2 state{};
  g_pad.SetAxis(vpad::Axis::X, 100);
  g_pad.ForceResult(Call::GetDeviceState, DIERR_INPUTLOST, 2);
  CHECK_HR(choice.device->GetDeviceState(sizeof state, &state), DIERR_INPUTLOST);
  CHECK(state.lX == 0);
  CHECK_HR(choice.device->GetDeviceState(sizeof state, &state), DIERR_INPUTLOST);
  CHECK_HR(choice.device->GetDeviceState(sizeof state, &state), DI_OK);
  CHECK(state.lX == 100);
  g_pad.ForceResult(Call::GetDeviceState, S_FALSE, 1);
  g_pad.SetAxis(vpad::Axis::X, -100);
  CHECK_HR(choice.device->GetDeviceState(sizeof state, &state), S_FALSE);
  CHECK(state.lX == -100);

  // A forced failure leaves the queued events for a later read.
  CHECK(g_pad.PressButton(3));
  g_pad.ForceResult(Call::GetDeviceData, DIERR_NOTACQUIRED, vpad::kForever);
  std::vector<DIDEVICEOBJECTDATA> events;
  DWORD count = 32;
  events.resize(32);
  CHECK_HR(choice.device->GetDeviceData(sizeof(DIDEVICEOBJECTDATA), events.data(), &count, 0),
           DIERR_NOTACQUIRED);
  CHECK(count == 0);
  CHECK_HR(ReadEvents(choice.device, events), DIERR_NOTACQUIRED);
  g_pad.ClearForcedResults();
  CHECK_HR(ReadEvents(choice.device, events), DI_OK);
  REQUIRE(events.size() == 1);
  CHECK(events[0].dwOfs == DIJOFS_BUTTON(3));

  g_pad.ForceResult(Call::Acquire, DIERR_OTHERAPPHASPRIO, 1);
  choice.device->Unacquire();
  CHECK_HR(choice.device->Acquire(), DIERR_OTHERAPPHASPRIO);
  CHECK_HR(choice.device->GetDeviceState(sizeof state, &state), DIERR_NOTACQUIRED);
  CHECK_HR(choice.device->Acquire(), DI_OK);

  const vpad::Record& record = ReadRecord();
  bool sawForced = false;
  for (std::uint32_t i = 0; i < record.callLogCount && i < vpad::kMaxCallLog; ++i) {
    if (record.callLog[i].call == static_cast<std::uint32_t>(Call::GetDeviceState) &&
        record.callLog[i].result == DIERR_INPUTLOST) {
      sawForced = true;
    }
  }
  CHECK(sawForced);
  Release(choice);
}

void LostInputNeedsReacquire() {
  g_pad.AddDevice(PadWithoutForce(1));
  DeviceChoice choice = SetUpLikeTheTool();
  REQUIRE(choice.device != nullptr);
  DIJOYSTATE2 state{};
  std::vector<DIDEVICEOBJECTDATA> events;
  g_pad.LoseInput();
  CHECK(!g_pad.PressButton(0));
  CHECK_HR(choice.device->GetDeviceState(sizeof state, &state), DIERR_INPUTLOST);
  CHECK_HR(choice.device->GetDeviceState(sizeof state, &state), DIERR_NOTACQUIRED);
  CHECK_HR(ReadEvents(choice.device, events), DIERR_NOTACQUIRED);
  CHECK_HR(choice.device->Acquire(), DI_OK);
  CHECK_HR(choice.device->GetDeviceState(sizeof state, &state), DI_OK);
  CHECK(state.rgbButtons[0] == 0x80);
  CHECK_HR(ReadEvents(choice.device, events), DI_OK);
  CHECK(events.empty());  // the press came while the input was lost

  g_pad.SetAttached(0, false);
  CHECK_HR(choice.device->GetDeviceState(sizeof state, &state), DIERR_INPUTLOST);
  CHECK_HR(choice.device->Acquire(), DIERR_UNPLUGGED);
  g_pad.SetAttached(0, true);
  CHECK_HR(choice.device->Acquire(), DI_OK);
  CHECK_HR(choice.device->GetDeviceState(sizeof state, &state), DI_OK);
  Release(choice);
}

void PolledDeviceDeliversDataAtPoll() {
  vpad::PadShape shape;
  shape.polled = true;
  g_pad.AddDevice(vpad::MakePad(shape, 1));
  DeviceChoice choice = SetUpLikeTheTool();
  REQUIRE(choice.device != nullptr);
  DIDEVCAPS caps{};
  caps.dwSize = sizeof caps;
  choice.device->GetCapabilities(&caps);
  CHECK((caps.dwFlags & DIDC_POLLEDDEVICE) != 0);

  DIJOYSTATE2 state{};
  std::vector<DIDEVICEOBJECTDATA> events;
  g_pad.SetAxis(vpad::Axis::X, 100);
  CHECK(g_pad.PressButton(1));
  CHECK_HR(choice.device->GetDeviceState(sizeof state, &state), DI_OK);
  CHECK(state.lX == 0);
  CHECK_HR(ReadEvents(choice.device, events), DI_OK);
  CHECK(events.empty());
  CHECK_HR(choice.device->Poll(), DI_OK);
  CHECK_HR(choice.device->GetDeviceState(sizeof state, &state), DI_OK);
  CHECK(state.lX == 100);
  CHECK_HR(ReadEvents(choice.device, events), DI_OK);
  CHECK(events.size() == 1);
  CHECK(ReadRecord().calls[static_cast<int>(Call::Poll)] == 1);
  Release(choice);

  g_pad.Reset();
  g_pad.AddDevice(PadWithoutForce(1));
  choice = SetUpLikeTheTool();
  REQUIRE(choice.device != nullptr);
  CHECK_HR(choice.device->Poll(), DI_NOEFFECT);
  choice.device->Unacquire();
  CHECK_HR(choice.device->Poll(), DIERR_NOTACQUIRED);
  Release(choice);
}

BOOL CALLBACK CountActuator(LPCDIDEVICEOBJECTINSTANCEA object, LPVOID context) {
  if ((object->dwFlags & DIDOI_FFACTUATOR) != 0) ++*static_cast<DWORD*>(context);
  return DIENUM_CONTINUE;
}

void ConstantForceEffectIsRecorded() {
  g_pad.AddDevice(PadWithoutForce(1));
  g_pad.AddDevice(PadWithForce(2));
  DeviceChoice choice = SetUpLikeTheTool();
  REQUIRE(choice.device != nullptr);
  CHECK(ReadRecord().createDevices[0].device == 1);  // the force-feedback pass found it

  DWORD actuators = 0;
  CHECK_HR(choice.device->EnumObjects(CountActuator, &actuators, DIDFT_AXIS), DI_OK);
  CHECK(actuators == 2);
  ToolEffect tool(actuators);
  IDirectInputEffect* effect = nullptr;
  CHECK_HR(choice.device->CreateEffect(GUID_ConstantForce, &tool.effect, &effect, nullptr), DI_OK);
  REQUIRE(effect != nullptr);

  const vpad::Record& created = ReadRecord();
  CHECK(created.createEffectCount == 1);
  CHECK(created.effectsAlive == 1);
  const vpad::CreateEffectRecord& creation = created.createEffects[0];
  CHECK(IsEqualGUID(creation.effect, GUID_ConstantForce));
  CHECK(creation.parametersPresent == 1);
  CHECK(creation.outerNonNull == 0);
  CHECK(creation.result == DI_OK);
  const vpad::EffectParameters& p = creation.parameters;
  CHECK(p.size == sizeof(DIEFFECT));
  CHECK(p.flags == (DIEFF_CARTESIAN | DIEFF_OBJECTOFFSETS));
  CHECK(p.duration == INFINITE);
  CHECK(p.samplePeriod == 0);
  CHECK(p.gain == DI_FFNOMINALMAX);
  CHECK(p.triggerButton == DIEB_NOTRIGGER);
  CHECK(p.triggerRepeatInterval == 0);
  CHECK(p.axisCount == 2);
  CHECK(p.axesPresent == 1);
  CHECK(p.axes[0] == DIJOFS_X);
  CHECK(p.axes[1] == DIJOFS_Y);
  CHECK(p.directionsPresent == 1);
  CHECK(p.directions[0] == 0);
  CHECK(p.directions[1] == 0);
  CHECK(p.envelopePresent == 0);
  CHECK(p.typeSpecificSize == sizeof(DICONSTANTFORCE));
  CHECK(p.typeSpecificPresent == 1);
  CHECK(p.constantMagnitude == 0);
  CHECK(p.startDelay == 0);

  GUID type{};
  CHECK_HR(effect->GetEffectGuid(&type), DI_OK);
  CHECK(IsEqualGUID(type, GUID_ConstantForce));
  DIJOYSTATE2 state{};
  choice.device->GetDeviceState(sizeof state, &state);
  choice.device->GetDeviceState(sizeof state, &state);
  CHECK_HR(SendForce(effect, 2, 8200, 8200, 11596), DI_OK);
  const vpad::Record& sent = ReadRecord();
  CHECK(sent.setParametersCount == 1);
  const vpad::SetParametersRecord* last = vpad::RecentSetParameters(sent, 0);
  REQUIRE(last != nullptr);
  CHECK(last->flags == 0x20000140);
  CHECK(last->readCycle == 2);
  CHECK(last->acquires == sent.calls[static_cast<int>(Call::Acquire)]);
  CHECK(last->result == DI_OK);
  CHECK(last->parameters.axisCount == 2);
  CHECK(last->parameters.directions[0] == 8200);
  CHECK(last->parameters.directions[1] == 8200);
  CHECK(last->parameters.constantMagnitude == 11596);
  CHECK(last->parameters.axesPresent == 0);
  CHECK(vpad::RecentSetParameters(sent, 1) == nullptr);
  DWORD status = 0;
  CHECK_HR(effect->GetEffectStatus(&status), DI_OK);
  CHECK(status == DIEGES_PLAYING);

  CHECK_HR(SendForce(effect, 1, 0, 0, 500), DIERR_INVALIDPARAM);  // the effect has two axes
  g_pad.ForceResult(Call::EffectSetParameters, DIERR_INPUTLOST, 1);
  CHECK_HR(SendForce(effect, 2, 0, 0, 0), DIERR_INPUTLOST);
  CHECK(vpad::RecentSetParameters(ReadRecord(), 0)->result == DIERR_INPUTLOST);
  g_pad.LoseInput(1);
  CHECK_HR(SendForce(effect, 2, 0, 0, 0), DIERR_INPUTLOST);
  CHECK_HR(SendForce(effect, 2, 0, 0, 0), DIERR_NOTEXCLUSIVEACQUIRED);
  CHECK_HR(choice.device->Acquire(), DI_OK);
  CHECK_HR(SendForce(effect, 2, 0, 0, 0), DI_OK);

  CHECK_HR(effect->Stop(), DI_OK);
  CHECK_HR(effect->Start(1, 0), DI_OK);
  CHECK_HR(effect->Download(), DI_OK);
  CHECK_HR(effect->Unload(), DI_OK);
  const vpad::Record& counted = ReadRecord();
  CHECK(counted.calls[static_cast<int>(Call::EffectStart)] == 1);
  CHECK(counted.calls[static_cast<int>(Call::EffectStop)] == 1);
  CHECK(counted.calls[static_cast<int>(Call::EffectDownload)] == 1);
  CHECK(counted.calls[static_cast<int>(Call::EffectUnload)] == 1);
  CHECK(counted.setParametersCount == 6);

  choice.device->Unacquire();
  CHECK_HR(effect->Start(1, 0), DIERR_NOTEXCLUSIVEACQUIRED);
  DIEFFECT noStart = tool.effect;
  CHECK_HR(effect->SetParameters(&noStart, DIEP_DIRECTION | DIEP_TYPESPECIFICPARAMS), DI_DOWNLOADSKIPPED);

  // The effect goes with its device.
  Release(choice);
  CHECK_HR(SendForce(effect, 2, 0, 0, 0), DIERR_NOTINITIALIZED);
  CHECK(ReadRecord().effectsAlive == 1);
  CHECK(effect->Release() == 0);
  CHECK(ReadRecord().effectsAlive == 0);
}

void EffectNeedsForceFeedbackAndValidAxes() {
  vpad::PadShape oneActuator;
  oneActuator.actuators = 1;
  g_pad.AddDevice(PadWithoutForce(1));
  g_pad.AddDevice(PadWithForce(2));
  g_pad.AddDevice(vpad::MakePad(oneActuator, 3));
  IDirectInput8A* input = CreateInput();
  REQUIRE(input != nullptr);
  IDirectInputDevice8A* plain = nullptr;
  IDirectInputDevice8A* feedback = nullptr;
  IDirectInputDevice8A* single = nullptr;
  REQUIRE(SUCCEEDED(input->CreateDevice(PadWithoutForce(1).instance, &plain, nullptr)));
  REQUIRE(SUCCEEDED(input->CreateDevice(PadWithForce(2).instance, &feedback, nullptr)));
  REQUIRE(SUCCEEDED(input->CreateDevice(vpad::MakePad(oneActuator, 3).instance, &single, nullptr)));
  for (IDirectInputDevice8A* device : {plain, feedback, single}) {
    device->SetDataFormat(&c_dfDIJoystick2);
    device->SetCooperativeLevel(g_window, DISCL_EXCLUSIVE | DISCL_BACKGROUND);
  }

  ToolEffect two(2);
  IDirectInputEffect* effect = reinterpret_cast<IDirectInputEffect*>(1);
  CHECK_HR(plain->CreateEffect(GUID_ConstantForce, &two.effect, &effect, nullptr), DIERR_UNSUPPORTED);
  CHECK(effect == nullptr);
  CHECK_HR(feedback->CreateEffect(GUID_Sine, &two.effect, &effect, nullptr), DIERR_DEVICENOTREG);
  two.axes[1] = DIJOFS_Z;  // not an actuator
  CHECK_HR(feedback->CreateEffect(GUID_ConstantForce, &two.effect, &effect, nullptr), DIERR_INVALIDPARAM);
  two.axes[1] = DIJOFS_Y;
  ToolEffect none(0);
  CHECK_HR(feedback->CreateEffect(GUID_ConstantForce, &none.effect, &effect, nullptr), DIERR_INVALIDPARAM);
  g_pad.ForceResult(Call::CreateEffect, DIERR_DEVICEFULL, 1);
  CHECK_HR(feedback->CreateEffect(GUID_ConstantForce, &two.effect, &effect, nullptr), DIERR_DEVICEFULL);
  CHECK(effect == nullptr);
  // Not acquired: created, but not downloaded.
  CHECK_HR(feedback->CreateEffect(GUID_ConstantForce, &two.effect, &effect, nullptr), DI_DOWNLOADSKIPPED);
  REQUIRE(effect != nullptr);
  effect->Release();

  CHECK_HR(single->CreateEffect(GUID_ConstantForce, &two.effect, &effect, nullptr), DIERR_INVALIDPARAM);
  ToolEffect one(1);
  single->Acquire();
  CHECK_HR(single->CreateEffect(GUID_ConstantForce, &one.effect, &effect, nullptr), DI_OK);
  REQUIRE(effect != nullptr);
  CHECK_HR(SendForce(effect, 1, 0, 0, -4600), DI_OK);
  CHECK(vpad::RecentSetParameters(ReadRecord(), 0)->parameters.constantMagnitude == -4600);
  effect->Release();

  const vpad::Record& record = ReadRecord();
  CHECK(record.createEffectCount == 8);
  CHECK(record.createEffects[0].result == DIERR_UNSUPPORTED);
  CHECK(record.createEffects[0].device == 0);
  plain->Release();
  feedback->Release();
  single->Release();
  input->Release();
  CHECK(ReadRecord().effectsAlive == 0);
}

void ReferenceCountsAndInterfaces() {
  g_pad.AddDevice(PadWithoutForce(1));
  IDirectInput8A* input = CreateInput();
  REQUIRE(input != nullptr);
  void* object = nullptr;
  CHECK_HR(input->QueryInterface(IID_IUnknown, &object), DI_OK);
  CHECK(object == static_cast<void*>(input));
  CHECK(input->Release() == 1);
  CHECK_HR(input->QueryInterface(IID_IDirectInput8W, &object), E_NOINTERFACE);
  CHECK(object == nullptr);

  IDirectInputDevice8A* device = nullptr;
  REQUIRE(SUCCEEDED(input->CreateDevice(PadWithoutForce(1).instance, &device, nullptr)));
  CHECK_HR(device->QueryInterface(IID_IDirectInputDevice8A, &object), DI_OK);
  CHECK(object == static_cast<void*>(device));
  CHECK(device->AddRef() == 3);
  CHECK(device->Release() == 2);
  CHECK(device->Release() == 1);
  CHECK_HR(device->QueryInterface(IID_IDirectInputDevice8W, &object), E_NOINTERFACE);
  CHECK(object == nullptr);
  CHECK(ReadRecord().devicesAlive == 1);
  CHECK(device->Release() == 0);
  CHECK(input->Release() == 0);
  const vpad::Record& record = ReadRecord();
  CHECK(record.devicesAlive == 0);
  CHECK(record.inputsAlive == 0);
  CHECK(record.calls[static_cast<int>(Call::DeviceRelease)] == 3);
  CHECK(record.calls[static_cast<int>(Call::DeviceAddRef)] == 1);
  CHECK(record.calls[static_cast<int>(Call::InputRelease)] == 2);
}

void UnsupportedMethodsAreRecorded() {
  g_pad.AddDevice(PadWithoutForce(1));
  IDirectInput8A* input = CreateInput();
  IDirectInputDevice8A* device = nullptr;
  REQUIRE(input != nullptr);
  REQUIRE(SUCCEEDED(input->CreateDevice(PadWithoutForce(1).instance, &device, nullptr)));
  DIPROPDWORD property{};
  property.diph.dwSize = sizeof property;
  property.diph.dwHeaderSize = sizeof property.diph;
  property.diph.dwHow = DIPH_DEVICE;
  CHECK_HR(device->GetProperty(DIPROP_BUFFERSIZE, &property.diph), DIERR_UNSUPPORTED);
  const vpad::Record& record = ReadRecord();
  CHECK(record.calls[static_cast<int>(Call::Unsupported)] == 1);
  CHECK(std::strcmp(record.lastUnsupported, "IDirectInputDevice8::GetProperty") == 0);
  device->Release();
  input->Release();
}

constexpr char kAsToolArgument[] = "--as-tool";
constexpr DWORD kToolReadsPressed = 0;
constexpr DWORD kToolFoundNoDevice = 3;
constexpr DWORD kToolSawNoPress = 4;

std::string OwnPath() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  return length == 0 || length >= sizeof path ? std::string() : std::string(path, length);
}

std::string OwnFolder() {
  const std::string path = OwnPath();
  return path.substr(0, path.find_last_of("\\/") + 1);
}

// The other side of AnotherProcessReadsTheScript: sets the device up like the
// tool and reads every 20 ms until Button 3 is pressed (at most 5 s).
int RunAsTool() {
  DeviceChoice choice = SetUpLikeTheTool();
  if (choice.device == nullptr) return kToolFoundNoDevice;
  DWORD result = kToolSawNoPress;
  for (int cycle = 0; cycle < 250 && result != kToolReadsPressed; ++cycle) {
    Sleep(20);
    DIJOYSTATE2 state{};
    choice.device->GetDeviceState(sizeof state, &state);
    std::vector<DIDEVICEOBJECTDATA> events;
    ReadEvents(choice.device, events);
    for (const DIDEVICEOBJECTDATA& event : events) {
      if (event.dwOfs == static_cast<DWORD>(DIJOFS_BUTTON(2)) && event.dwData == 0x80 &&
          state.rgbButtons[2] == 0x80) {
        result = kToolReadsPressed;
      }
    }
  }
  Release(choice);
  return static_cast<int>(result);
}

void AnotherProcessReadsTheScript() {
  g_pad.AddDevice(PadWithForce(1));
  std::string command = "\"" + OwnPath() + "\" " + kAsToolArgument;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  REQUIRE(CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                         &process));
  CloseHandle(process.hThread);
  const bool acquired = g_pad.WaitForCallCount(Call::Acquire, 1, 15000);
  if (!acquired) std::printf("    %s\n", g_pad.LastError().c_str());
  CHECK(acquired);
  CHECK(g_pad.WaitForReadCycles(1, 5000));
  CHECK(g_pad.PressButton(2));
  const bool ended = WaitForSingleObject(process.hProcess, 15000) == WAIT_OBJECT_0;
  CHECK(ended);
  if (!ended) TerminateProcess(process.hProcess, 1);
  DWORD exitCode = 1;
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hProcess);
  CHECK(exitCode == kToolReadsPressed);

  const vpad::Record& record = ReadRecord();
  CHECK(record.createCount == 1);
  CHECK(record.createDevices[0].device == 0);
  CHECK(record.properties[0].data == 640);
  CHECK(record.cooperativeLevels[0].windowTopLevel == 1);
  CHECK(record.devicesAlive == 0);
  CHECK(record.inputsAlive == 0);
}

DWORD WINAPI ReadThreeTimes(LPVOID context) {
  auto* device = static_cast<IDirectInputDevice8A*>(context);
  for (int i = 0; i < 3; ++i) {
    Sleep(20);
    std::vector<DIDEVICEOBJECTDATA> events;
    ReadEvents(device, events);
  }
  return 0;
}

void WaitForReadCyclesSeesCallsAndTimesOut() {
  g_pad.AddDevice(PadWithoutForce(1));
  DeviceChoice choice = SetUpLikeTheTool();
  REQUIRE(choice.device != nullptr);
  CHECK(!g_pad.WaitForReadCycles(1, 100));
  CHECK(g_pad.LastError().find("timed out") != std::string::npos);
  CHECK(g_pad.LastError().find("GetDeviceData") != std::string::npos);

  HANDLE reader = CreateThread(nullptr, 0, ReadThreeTimes, choice.device, 0, nullptr);
  REQUIRE(reader != nullptr);
  CHECK(g_pad.WaitForReadCycles(3, 5000));
  WaitForSingleObject(reader, 5000);
  CloseHandle(reader);
  CHECK(g_pad.WaitForCallCount(Call::GetDeviceData, 3, 0));
  CHECK(!g_pad.WaitForMoreCalls(Call::Poll, 1, 50));
  CHECK(g_pad.LastError().find("Poll") != std::string::npos);
  Release(choice);
}

void ResetClearsDevicesForcedResultsAndRecord() {
  g_pad.AddDevice(PadWithForce(1));
  g_pad.ForceResult(Call::EnumDevices, DIERR_GENERIC, vpad::kForever);
  IDirectInput8A* input = CreateInput();
  REQUIRE(input != nullptr);
  Listed listed;
  CHECK_HR(input->EnumDevices(DI8DEVCLASS_GAMECTRL, ListDevice, &listed, 0), DIERR_GENERIC);
  CHECK(listed.instances.empty());
  input->Release();
  REQUIRE(g_pad.Reset());
  const vpad::Record& record = ReadRecord();
  CHECK(record.createCount == 0);
  CHECK(record.callLogCount == 0);
  input = CreateInput();
  REQUIRE(input != nullptr);
  CHECK_HR(input->EnumDevices(DI8DEVCLASS_GAMECTRL, ListDevice, &listed, 0), DI_OK);
  CHECK(listed.instances.empty());
  input->Release();
}

struct Case {
  const char* name;
  void (*run)();
};

const Case kCases[] = {
    {"CreateRecordsVersionAndInterface", CreateRecordsVersionAndInterface},
    {"EnumDevicesHonoursClassFlagsAndOrder", EnumDevicesHonoursClassFlagsAndOrder},
    {"NoControllerMeansNoDevices", NoControllerMeansNoDevices},
    {"CreateDeviceFindsInstanceAndHonoursForcedFailure", CreateDeviceFindsInstanceAndHonoursForcedFailure},
    {"ToolSetupIsRecorded", ToolSetupIsRecorded},
    {"SetupCallsRejectWrongArguments", SetupCallsRejectWrongArguments},
    {"EnumObjectsHonoursTypeFilter", EnumObjectsHonoursTypeFilter},
    {"GetDeviceStateReturnsScriptedState", GetDeviceStateReturnsScriptedState},
    {"GetDeviceDataTakesQueuedEventsInOrder", GetDeviceDataTakesQueuedEventsInOrder},
    {"BufferOverflowDropsOldestAndIsReported", BufferOverflowDropsOldestAndIsReported},
    {"EventsAreBufferedOnlyWhileAcquiredWithABuffer", EventsAreBufferedOnlyWhileAcquiredWithABuffer},
    {"ForcedResultsAffectTheNextCalls", ForcedResultsAffectTheNextCalls},
    {"LostInputNeedsReacquire", LostInputNeedsReacquire},
    {"PolledDeviceDeliversDataAtPoll", PolledDeviceDeliversDataAtPoll},
    {"ConstantForceEffectIsRecorded", ConstantForceEffectIsRecorded},
    {"EffectNeedsForceFeedbackAndValidAxes", EffectNeedsForceFeedbackAndValidAxes},
    {"ReferenceCountsAndInterfaces", ReferenceCountsAndInterfaces},
    {"UnsupportedMethodsAreRecorded", UnsupportedMethodsAreRecorded},
    {"WaitForReadCyclesSeesCallsAndTimesOut", WaitForReadCyclesSeesCallsAndTimesOut},
    {"ResetClearsDevicesForcedResultsAndRecord", ResetClearsDevicesForcedResultsAndRecord},
    {"AnotherProcessReadsTheScript", AnotherProcessReadsTheScript},
};

}  // namespace

int main(int argc, char** argv) {
  const bool asTool = argc > 1 && std::strcmp(argv[1], kAsToolArgument) == 0;
  // As the program under test the block is the parent's: never reset it here.
  if (!asTool && !g_pad.Create()) {
    std::printf("cannot create the virtual pad's block: %s\n", g_pad.LastError().c_str());
    return 2;
  }
  const std::string dllPath = OwnFolder() + "dinput8.dll";
  HMODULE dll = LoadLibraryA(dllPath.c_str());
  if (dll == nullptr) {
    std::printf("cannot load %s (error %lu)\n", dllPath.c_str(), GetLastError());
    return 2;
  }
  g_create = reinterpret_cast<CreateFunction>(
      reinterpret_cast<void*>(GetProcAddress(dll, "DirectInput8Create")));
  if (g_create == nullptr) {
    std::printf("%s exports no DirectInput8Create\n", dllPath.c_str());
    return 2;
  }
  g_window = CreateWindowExA(0, "STATIC", "virtual dinput8 self-test", WS_OVERLAPPEDWINDOW, 0, 0, 100,
                             100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (g_window == nullptr) {
    std::printf("cannot create the self-test's window\n");
    return 2;
  }
  if (asTool) return RunAsTool();

  // Wine may hand out its own dinput8 under the path asked for; only the
  // virtual controller records the call.
  IDirectInput8A* probe = CreateInput();
  if (probe != nullptr) probe->Release();
  std::uint32_t creates = 0;
  if (!g_pad.CallCount(Call::DirectInput8Create, creates) || creates != 1) {
    std::printf("the dinput8.dll loaded is not the virtual controller; run with "
                "WINEDLLOVERRIDES=dinput8=n\n");
    return 2;
  }

  const char* only = argc > 1 ? argv[1] : nullptr;
  int run = 0;
  for (const Case& test : kCases) {
    if (only != nullptr && std::strcmp(only, test.name) != 0) continue;
    g_case = test.name;
    const int before = g_failures;
    if (!g_pad.Reset()) {
      std::printf("cannot reset the block: %s\n", g_pad.LastError().c_str());
      return 2;
    }
    test.run();
    std::printf("%s %s\n", g_failures == before ? "ok    " : "FAILED", test.name);
    ++run;
  }
  DestroyWindow(g_window);
  if (run == 0) {
    std::printf("no case named %s\n", only != nullptr ? only : "");
    return 2;
  }
  std::printf("%d cases, %d failed checks\n", run, g_failures);
  return g_failures == 0 ? 0 : 1;
}
