// Driver-side control of the virtual controller (the test-only dinput8.dll):
// creates the shared block, configures devices and their objects, moves
// sticks and presses buttons, forces results and reads back the record of
// what the program under test asked.
//
// Every operation takes the block's mutex for its duration. Operations return
// false on failure and leave a message in LastError().
#pragma once

#include <cstdint>
#include <string>

#include "virtual_pad_block.h"

namespace vpad {

// The shape of a typical pad, turned into a DeviceConfig by MakePad.
struct PadShape {
  bool xAxis = true;
  bool yAxis = true;
  bool zAxis = true;
  bool rotations = false;  // Rx, Ry, Rz
  std::uint32_t sliders = 2;  // a third and later get kNoOffset
  std::uint32_t hats = 1;  // at most 4
  std::uint32_t buttons = 12;  // at most 128
  // Force-feedback actuators on the first axes (X, then Y, ...); with 0 the pad
  // has no force feedback at all.
  std::uint32_t actuators = 0;
  bool polled = false;  // DIDC_POLLEDDEVICE: data changes only at Poll
};

// A pad numbered `number` (distinct GUIDs and names per number): objects in the
// order X, Y, Z, Rx, Ry, Rz, sliders, hats, buttons, each with its
// c_dfDIJoystick2 offset, DIDFT type and instance, and capabilities to match.
DeviceConfig MakePad(const PadShape& shape, std::uint32_t number);

// The pad of most tests: X, Y, Z axes, two sliders, one hat and 12 buttons,
// with force feedback on X and Y when forceFeedback is set.
DeviceConfig StandardPad(bool forceFeedback, std::uint32_t number = 1);

enum class Axis { X, Y, Z, Rx, Ry, Rz, Slider0, Slider1 };

class VirtualPad {
 public:
  VirtualPad() = default;
  ~VirtualPad();
  VirtualPad(const VirtualPad&) = delete;
  VirtualPad& operator=(const VirtualPad&) = delete;

  // Creates the block and its mutex (or opens them when they exist) and resets it.
  bool Create();
  // No controller, nothing forced, centred state, empty queues and record.
  bool Reset();

  // Appends a device in enumeration order (at most kMaxDevices).
  bool AddDevice(const DeviceConfig& device);
  // Replaces device `index`; its state and record stay.
  bool ReplaceDevice(std::uint32_t index, const DeviceConfig& device);
  // Plugs a device in or out; unplugging also takes its input away.
  bool SetAttached(std::uint32_t device, bool attached);

  // The live immediate state: whole, one axis, one hat (hundredths of a degree,
  // or kHatCentred).
  bool SetState(const DIJOYSTATE2& state, std::uint32_t device = 0);
  bool SetAxis(Axis axis, LONG value, std::uint32_t device = 0);
  static constexpr DWORD kHatCentred = 0xFFFFFFFF;
  bool SetHat(std::uint32_t hat, DWORD value, std::uint32_t device = 0);

  // Button `index` (0 = Button 1) goes down (up): rgbButtons[index] becomes
  // 0x80 (0) and, when it changed, an event with dwOfs DIJOFS_BUTTON(index) and
  // dwData 0x80 (0) is queued. False when the event was not buffered: the
  // device is not acquired or the program set no buffer size.
  bool PressButton(std::uint32_t index, std::uint32_t device = 0);
  bool ReleaseButton(std::uint32_t index, std::uint32_t device = 0);
  // Queues a press and a release of button `index` without changing the state:
  // a button pressed and released between two reads.
  bool TapButton(std::uint32_t index, std::uint32_t device = 0);
  // Queues any event (time stamp and sequence filled in here).
  bool QueueEvent(DWORD offset, DWORD data, std::uint32_t device = 0);

  // The device's acquisition is lost: the next read fails with
  // DIERR_INPUTLOST, later ones with DIERR_NOTACQUIRED, until Acquire.
  bool LoseInput(std::uint32_t device = 0);

  // The next `times` calls of `call` return `result` (kForever: all of them).
  // A failure skips the call's work; a success code only replaces its result.
  bool ForceResult(Call call, HRESULT result, std::uint32_t times = 1);
  bool ClearForcedResults();

  // Copies the whole record.
  bool ReadRecord(Record& record);
  // How often `call` was made so far; false when the block cannot be read.
  bool CallCount(Call call, std::uint32_t& count);

  // Waits (bounded, polling) until `call` has been made `more` more times than
  // when the wait began, or until its count reaches `total`.
  bool WaitForMoreCalls(Call call, std::uint32_t more, DWORD timeoutMs);
  bool WaitForCallCount(Call call, std::uint32_t total, DWORD timeoutMs);
  // A read cycle of the program ends with its GetDeviceData call, so `more`
  // more cycles have read the events queued before the wait began.
  bool WaitForReadCycles(std::uint32_t more, DWORD timeoutMs);

  // Runs edit(block) with the block's mutex held, for anything the helpers
  // above do not cover.
  template <typename Fn>
  bool Edit(Fn&& edit) {
    if (!Lock()) return false;
    edit(*block_);
    Unlock();
    return true;
  }

  const std::string& LastError() const { return error_; }

 private:
  bool Lock();
  void Unlock();
  bool Fail(const std::string& message);
  bool CheckDevice(std::uint32_t device);
  // Sets a button and queues its change event; the block is held.
  bool SetButtonLocked(std::uint32_t index, bool down, std::uint32_t device);
  // Appends an event to the device's queue; the block is held.
  bool QueueLocked(DWORD offset, DWORD data, std::uint32_t device);
  bool WaitUntil(Call call, std::uint32_t total, DWORD timeoutMs, const char* what);

  HANDLE mapping_ = nullptr;
  HANDLE mutex_ = nullptr;
  Block* block_ = nullptr;
  std::string error_;
};

// The i-th most recent SetParameters call (0 = the last), or null when the
// record holds no such call.
const SetParametersRecord* RecentSetParameters(const Record& record, std::uint32_t back);

}  // namespace vpad
