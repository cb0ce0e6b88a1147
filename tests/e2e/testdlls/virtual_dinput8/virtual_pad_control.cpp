// Driver-side control of the virtual controller's shared block.
#include "virtual_pad_control.h"

#include <cstdio>
#include <cstring>

namespace vpad {
namespace {

constexpr DWORD kLockTimeoutMs = 5000;
constexpr DWORD kWaitStepMs = 5;
constexpr std::uint32_t kMaxHats = 4;
constexpr std::uint32_t kMaxButtons = 128;

void SetName(char (&target)[kNameLength], const char* text) {
  std::snprintf(target, sizeof target, "%s", text);
}

void CentreHats(DIJOYSTATE2& state) {
  for (DWORD& pov : state.rgdwPOV) pov = VirtualPad::kHatCentred;
}

std::string Describe(Call call) { return CallName(call); }

}  // namespace

DeviceConfig MakePad(const PadShape& shape, std::uint32_t number) {
  DeviceConfig device{};
  device.attached = 1;
  device.forceFeedback = shape.actuators > 0;
  device.instance = GUID{0x56504144, 0x4e49, static_cast<WORD>(number),
                         {'V', 'P', 'A', 'D', 'I', 'N', 'S', 'T'}};
  const WORD vendor = 0xF00D;
  const WORD productId = static_cast<WORD>(0x0100 + number);
  device.product = GUID{MAKELONG(vendor, productId), 0x0000, 0x0000,
                        {0x00, 0x00, 'P', 'I', 'D', 'V', 'I', 'D'}};
  device.devType = DI8DEVTYPE_GAMEPAD | (DI8DEVTYPEGAMEPAD_STANDARD << 8) | DIDEVTYPE_HID;
  std::snprintf(device.instanceName, sizeof device.instanceName, "Virtual Pad %u",
                static_cast<unsigned>(number));
  SetName(device.productName, "Virtual Pad");

  std::uint32_t actuatorsLeft = shape.actuators;
  std::uint32_t axisInstance = 0;
  auto add = [&device](const GUID& guid, std::uint32_t ofs, std::uint32_t type, std::uint32_t flags,
                       const char* name) -> ObjectConfig* {
    if (device.objectCount >= kMaxObjects) return nullptr;
    ObjectConfig& object = device.objects[device.objectCount++];
    object.guidType = guid;
    object.ofs = ofs;
    object.type = type;
    object.flags = flags;
    SetName(object.name, name);
    return &object;
  };
  auto addAxis = [&](const GUID& guid, std::uint32_t ofs, const char* name, bool canActuate) {
    ObjectConfig* axis = add(guid, ofs, DIDFT_ABSAXIS | DIDFT_MAKEINSTANCE(axisInstance),
                             DIDOI_ASPECTPOSITION, name);
    if (axis == nullptr) return;
    ++axisInstance;
    if (canActuate && actuatorsLeft > 0) {
      --actuatorsLeft;
      axis->type |= DIDFT_FFACTUATOR;
      axis->flags |= DIDOI_FFACTUATOR;
      axis->ffMaxForce = DI_FFNOMINALMAX;
      axis->ffForceResolution = 1;
    }
  };

  if (shape.xAxis) addAxis(GUID_XAxis, DIJOFS_X, "X Axis", true);
  if (shape.yAxis) addAxis(GUID_YAxis, DIJOFS_Y, "Y Axis", true);
  if (shape.zAxis) addAxis(GUID_ZAxis, DIJOFS_Z, "Z Axis", true);
  if (shape.rotations) {
    addAxis(GUID_RxAxis, DIJOFS_RX, "X Rotation", true);
    addAxis(GUID_RyAxis, DIJOFS_RY, "Y Rotation", true);
    addAxis(GUID_RzAxis, DIJOFS_RZ, "Z Rotation", true);
  }
  for (std::uint32_t i = 0; i < shape.sliders; ++i) {
    char name[kNameLength];
    std::snprintf(name, sizeof name, i == 0 ? "Slider" : "Slider %u", static_cast<unsigned>(i + 1));
    addAxis(GUID_Slider, i < 2 ? DIJOFS_SLIDER(i) : kNoOffset, name, false);
  }
  const std::uint32_t hats = shape.hats < kMaxHats ? shape.hats : kMaxHats;
  for (std::uint32_t i = 0; i < hats; ++i) {
    char name[kNameLength];
    std::snprintf(name, sizeof name, i == 0 ? "Hat Switch" : "Hat Switch %u",
                  static_cast<unsigned>(i + 1));
    add(GUID_POV, DIJOFS_POV(i), DIDFT_POV | DIDFT_MAKEINSTANCE(i), 0, name);
  }
  const std::uint32_t buttons = shape.buttons < kMaxButtons ? shape.buttons : kMaxButtons;
  for (std::uint32_t i = 0; i < buttons; ++i) {
    char name[kNameLength];
    std::snprintf(name, sizeof name, "Button %u", static_cast<unsigned>(i + 1));
    std::uint32_t type = DIDFT_PSHBUTTON | DIDFT_MAKEINSTANCE(i);
    std::uint32_t flags = 0;
    if (device.forceFeedback != 0) {
      type |= DIDFT_FFEFFECTTRIGGER;
      flags |= DIDOI_FFEFFECTTRIGGER;
    }
    add(GUID_Button, DIJOFS_BUTTON(i), type, flags, name);
  }

  device.capsFlags = DIDC_ATTACHED;
  if (shape.polled) device.capsFlags |= DIDC_POLLEDDEVICE;
  if (device.forceFeedback != 0) {
    device.capsFlags |= DIDC_FORCEFEEDBACK;
    device.ffSamplePeriod = 1000;
    device.ffMinTimeResolution = 1000;
    device.ffDriverVersion = 1;
  }
  device.axes = axisInstance;
  device.buttons = buttons;
  device.povs = hats;
  device.firmwareRevision = 1;
  device.hardwareRevision = 1;
  return device;
}

DeviceConfig StandardPad(bool forceFeedback, std::uint32_t number) {
  PadShape shape;
  shape.actuators = forceFeedback ? 2 : 0;
  return MakePad(shape, number);
}

VirtualPad::~VirtualPad() {
  if (block_ != nullptr) UnmapViewOfFile(block_);
  if (mapping_ != nullptr) CloseHandle(mapping_);
  if (mutex_ != nullptr) CloseHandle(mutex_);
}

bool VirtualPad::Create() {
  if (block_ == nullptr) {
    mutex_ = CreateMutexA(nullptr, FALSE, kMutexName);
    if (mutex_ == nullptr) return Fail("CreateMutexA of the virtual pad's mutex failed");
    mapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(Block),
                                  kBlockName);
    if (mapping_ == nullptr) return Fail("CreateFileMappingA of the virtual pad's block failed");
    block_ = static_cast<Block*>(
        MapViewOfFile(mapping_, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, sizeof(Block)));
    if (block_ == nullptr) return Fail("MapViewOfFile of the virtual pad's block failed");
  }
  return Reset();
}

bool VirtualPad::Reset() {
  if (!Lock()) return false;
  std::memset(block_, 0, sizeof(Block));
  block_->magic = kBlockMagic;
  block_->version = kBlockVersion;
  block_->size = sizeof(Block);
  for (DeviceLive& live : block_->live) {
    CentreHats(live.state);
    CentreHats(live.polledState);
    live.nextSequence = 1;
  }
  Unlock();
  return true;
}

bool VirtualPad::AddDevice(const DeviceConfig& device) {
  if (!Lock()) return false;
  if (block_->deviceCount >= kMaxDevices) {
    Unlock();
    return Fail("no room for another virtual device");
  }
  block_->devices[block_->deviceCount++] = device;
  Unlock();
  return true;
}

bool VirtualPad::ReplaceDevice(std::uint32_t index, const DeviceConfig& device) {
  if (!CheckDevice(index) || !Lock()) return false;
  block_->devices[index] = device;
  Unlock();
  return true;
}

bool VirtualPad::SetAttached(std::uint32_t device, bool attached) {
  if (!CheckDevice(device) || !Lock()) return false;
  block_->devices[device].attached = attached;
  if (!attached) {
    ++block_->live[device].lossGeneration;
    block_->live[device].acquired = 0;
  }
  Unlock();
  return true;
}

bool VirtualPad::SetState(const DIJOYSTATE2& state, std::uint32_t device) {
  if (!CheckDevice(device) || !Lock()) return false;
  block_->live[device].state = state;
  Unlock();
  return true;
}

bool VirtualPad::SetAxis(Axis axis, LONG value, std::uint32_t device) {
  if (!CheckDevice(device) || !Lock()) return false;
  DIJOYSTATE2& state = block_->live[device].state;
  switch (axis) {
    case Axis::X: state.lX = value; break;
    case Axis::Y: state.lY = value; break;
    case Axis::Z: state.lZ = value; break;
    case Axis::Rx: state.lRx = value; break;
    case Axis::Ry: state.lRy = value; break;
    case Axis::Rz: state.lRz = value; break;
    case Axis::Slider0: state.rglSlider[0] = value; break;
    case Axis::Slider1: state.rglSlider[1] = value; break;
  }
  Unlock();
  return true;
}

bool VirtualPad::SetHat(std::uint32_t hat, DWORD value, std::uint32_t device) {
  if (hat >= kMaxHats) return Fail("hat index out of range");
  if (!CheckDevice(device) || !Lock()) return false;
  block_->live[device].state.rgdwPOV[hat] = value;
  Unlock();
  return true;
}

bool VirtualPad::PressButton(std::uint32_t index, std::uint32_t device) {
  if (index >= kMaxButtons) return Fail("button index out of range");
  if (!CheckDevice(device) || !Lock()) return false;
  const bool buffered = SetButtonLocked(index, true, device);
  Unlock();
  return buffered;
}

bool VirtualPad::ReleaseButton(std::uint32_t index, std::uint32_t device) {
  if (index >= kMaxButtons) return Fail("button index out of range");
  if (!CheckDevice(device) || !Lock()) return false;
  const bool buffered = SetButtonLocked(index, false, device);
  Unlock();
  return buffered;
}

bool VirtualPad::TapButton(std::uint32_t index, std::uint32_t device) {
  if (index >= kMaxButtons) return Fail("button index out of range");
  if (!CheckDevice(device) || !Lock()) return false;
  const bool buffered = QueueLocked(DIJOFS_BUTTON(index), 0x80, device) &&
                        QueueLocked(DIJOFS_BUTTON(index), 0, device);
  Unlock();
  return buffered;
}

bool VirtualPad::QueueEvent(DWORD offset, DWORD data, std::uint32_t device) {
  if (!CheckDevice(device) || !Lock()) return false;
  const bool buffered = QueueLocked(offset, data, device);
  Unlock();
  return buffered;
}

bool VirtualPad::LoseInput(std::uint32_t device) {
  if (!CheckDevice(device) || !Lock()) return false;
  ++block_->live[device].lossGeneration;
  block_->live[device].acquired = 0;
  Unlock();
  return true;
}

bool VirtualPad::ForceResult(Call call, HRESULT result, std::uint32_t times) {
  const auto index = static_cast<std::uint32_t>(call);
  if (index >= kCallCount) return Fail("no such call to force");
  if (!Lock()) return false;
  block_->forced[index] = ForcedResult{result, times};
  Unlock();
  return true;
}

bool VirtualPad::ClearForcedResults() {
  if (!Lock()) return false;
  std::memset(block_->forced, 0, sizeof block_->forced);
  Unlock();
  return true;
}

bool VirtualPad::ReadRecord(Record& record) {
  if (!Lock()) return false;
  std::memcpy(&record, &block_->record, sizeof record);
  Unlock();
  return true;
}

bool VirtualPad::CallCount(Call call, std::uint32_t& count) {
  const auto index = static_cast<std::uint32_t>(call);
  if (index >= kCallCount) return Fail("no such call to count");
  if (!Lock()) return false;
  count = block_->record.calls[index];
  Unlock();
  return true;
}

bool VirtualPad::WaitForMoreCalls(Call call, std::uint32_t more, DWORD timeoutMs) {
  std::uint32_t start = 0;
  if (!CallCount(call, start)) return false;
  const std::string what = std::to_string(more) + " more " + Describe(call) + " calls";
  return WaitUntil(call, start + more, timeoutMs, what.c_str());
}

bool VirtualPad::WaitForCallCount(Call call, std::uint32_t total, DWORD timeoutMs) {
  const std::string what = std::to_string(total) + " " + Describe(call) + " calls in all";
  return WaitUntil(call, total, timeoutMs, what.c_str());
}

bool VirtualPad::WaitForReadCycles(std::uint32_t more, DWORD timeoutMs) {
  std::uint32_t start = 0;
  if (!CallCount(Call::GetDeviceData, start)) return false;
  const std::string what = std::to_string(more) + " more read cycles (GetDeviceData calls)";
  return WaitUntil(Call::GetDeviceData, start + more, timeoutMs, what.c_str());
}

bool VirtualPad::WaitUntil(Call call, std::uint32_t total, DWORD timeoutMs, const char* what) {
  const DWORD begin = GetTickCount();
  for (;;) {
    std::uint32_t count = 0;
    if (!CallCount(call, count)) return false;
    if (count >= total) return true;
    const DWORD elapsed = GetTickCount() - begin;
    if (elapsed >= timeoutMs) {
      return Fail("timed out after " + std::to_string(timeoutMs) + " ms waiting for " + what +
                  " (" + Describe(call) + " count " + std::to_string(count) + ", wanted " +
                  std::to_string(total) + ")");
    }
    Sleep(kWaitStepMs);
  }
}

bool VirtualPad::Lock() {
  if (block_ == nullptr) return Fail("the virtual pad's block has not been created");
  const DWORD wait = WaitForSingleObject(mutex_, kLockTimeoutMs);
  if (wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED) return true;
  return Fail("timed out waiting for the virtual pad's mutex");
}

void VirtualPad::Unlock() { ReleaseMutex(mutex_); }

bool VirtualPad::Fail(const std::string& message) {
  error_ = message;
  return false;
}

bool VirtualPad::CheckDevice(std::uint32_t device) {
  if (device < kMaxDevices) return true;
  return Fail("device index " + std::to_string(device) + " out of range");
}

bool VirtualPad::SetButtonLocked(std::uint32_t index, bool down, std::uint32_t device) {
  BYTE& button = block_->live[device].state.rgbButtons[index];
  const BYTE value = down ? 0x80 : 0x00;
  if (button == value) return true;
  button = value;
  return QueueLocked(DIJOFS_BUTTON(index), value, device);
}

bool VirtualPad::QueueLocked(DWORD offset, DWORD data, std::uint32_t device) {
  DeviceLive& live = block_->live[device];
  // A device buffers events only while acquired and only once the program
  // has given it a buffer size.
  if (live.acquired == 0) {
    return Fail("event at offset " + std::to_string(offset) +
                " not buffered: the device is not acquired");
  }
  if (live.bufferSize == 0) {
    return Fail("event at offset " + std::to_string(offset) +
                " not buffered: the program set no buffer size");
  }
  const std::uint32_t capacity = live.bufferSize < kMaxEvents ? live.bufferSize : kMaxEvents;
  if (live.eventCount >= capacity) {
    live.eventHead = (live.eventHead + 1) % kMaxEvents;
    --live.eventCount;
    if (live.eventsVisible > 0) --live.eventsVisible;
    live.overflowed = 1;
  }
  DIDEVICEOBJECTDATA& event = live.events[(live.eventHead + live.eventCount) % kMaxEvents];
  event = DIDEVICEOBJECTDATA{};
  event.dwOfs = offset;
  event.dwData = data;
  event.dwTimeStamp = GetTickCount();
  event.dwSequence = live.nextSequence++;
  ++live.eventCount;
  return true;
}

const SetParametersRecord* RecentSetParameters(const Record& record, std::uint32_t back) {
  if (back >= record.setParametersCount || back >= kMaxSetParameters) return nullptr;
  return &record.setParameters[(record.setParametersCount - 1 - back) % kMaxSetParameters];
}

}  // namespace vpad
