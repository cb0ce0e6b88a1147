#include "padtool/input/pad_device.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/fakes/fake_direct_input.h"

namespace {

using fakes::FakeController;
using fakes::FakeDirectInputSystem;
using padtool::PadDevice;
using padtool::PadInputState;

constexpr platform::WindowId kWindow = 0x00010203;
constexpr platform::ModuleToken kInstance = 0x00400000;
constexpr platform::HResult kFail = platform::kDiErrGeneric;

constexpr std::uint64_t Bit(unsigned bit) { return std::uint64_t{1} << bit; }
constexpr std::uint64_t kRight = Bit(padtool::kStickRightBit);
constexpr std::uint64_t kLeft = Bit(padtool::kStickLeftBit);
constexpr std::uint64_t kUp = Bit(padtool::kStickUpBit);
constexpr std::uint64_t kDown = Bit(padtool::kStickDownBit);

// A device of its own, published, for one row of a table-driven test; the
// row configures its controller before calling Init.
struct FreshPad {
  FreshPad() : pad(system.Add(1)), device(system, state, sliders) { padtool::PublishPadDevice(&device); }
  FakeDirectInputSystem system;
  FakeController& pad;
  std::uint32_t sliders = 0;
  PadInputState state;
  PadDevice device;
};

class PadDeviceTest : public ::testing::Test {
 protected:
  ~PadDeviceTest() override {
    device.reset();
    padtool::PublishPadDevice(nullptr);
  }

  // Construct, publish, hand over the window, Init: the main dialog's order.
  bool Start() {
    device = std::make_unique<PadDevice>(system, input, sliders);
    padtool::PublishPadDevice(device.get());
    device->SetWindow(kWindow);
    return device->Init(kInstance);
  }

  FakeController& StickPad() {
    FakeController& pad = system.Add(1);
    pad.objects = {fakes::Object(platform::kGuidXAxis), fakes::Object(platform::kGuidYAxis)};
    return pad;
  }

  // Starts with one plain controller and forgets the setup calls.
  FakeController& StartWithPad(std::uint32_t capsFlags = 0) {
    FakeController& pad = StickPad();
    pad.capsFlags = capsFlags;
    EXPECT_TRUE(Start());
    EXPECT_TRUE(device->HasDevice());
    system.log.clear();
    return pad;
  }

  std::vector<std::uint32_t> RangeOffsets(const FakeController& pad) const {
    std::vector<std::uint32_t> offsets;
    for (const auto& range : pad.ranges) offsets.push_back(range.diph.dwObj);
    return offsets;
  }

  FakeDirectInputSystem system;
  PadInputState input;
  std::uint32_t sliders = 0;
  std::unique_ptr<PadDevice> device;
};

// --- Initialisation and device choice -------------------------------------

TEST_F(PadDeviceTest, InitFailsOnlyWhenDirectInputCannotBeCreated) {
  StickPad();
  system.createResult = kFail;
  EXPECT_FALSE(Start());
  EXPECT_FALSE(device->HasDevice());
  EXPECT_TRUE(system.enumerations.empty());
}

TEST_F(PadDeviceTest, InitCreatesDirectInputVersion0800WithTheModuleInstance) {
  ASSERT_TRUE(Start());
  ASSERT_EQ(system.creations.size(), 1u);
  EXPECT_EQ(system.creations[0].first, kInstance);
  EXPECT_EQ(system.creations[0].second, 0x0800u);
}

TEST_F(PadDeviceTest, NoControllerStillSucceedsWithoutDeviceAndWithoutZAxis) {
  EXPECT_TRUE(Start());
  EXPECT_FALSE(device->HasDevice());
  EXPECT_FALSE(device->HasZAxis());
  ASSERT_EQ(system.enumerations.size(), 2u);
  EXPECT_EQ(system.enumerations[0].deviceClass, 4u);
  EXPECT_EQ(system.enumerations[0].flags, 0x101u);
  EXPECT_EQ(system.enumerations[0].context, nullptr);
  EXPECT_EQ(system.enumerations[1].deviceClass, 4u);
  EXPECT_EQ(system.enumerations[1].flags, 0x1u);
  EXPECT_EQ(system.enumerations[1].context, nullptr);
}

TEST_F(PadDeviceTest, ForceFeedbackControllerIsPreferredInTheFirstPass) {
  FakeController& plain = system.Add(1);
  FakeController& rumble = system.Add(2, true);
  ASSERT_TRUE(Start());
  EXPECT_TRUE(device->HasDevice());
  EXPECT_TRUE(device->ForceFeedbackWanted());
  EXPECT_TRUE(rumble.opened);
  EXPECT_FALSE(plain.opened);
  EXPECT_EQ(system.enumerations.size(), 1u);
}

TEST_F(PadDeviceTest, SecondPassTakesTheFirstCreatableControllerWithoutForceFeedback) {
  FakeController& broken = system.Add(1);
  broken.createResult = kFail;
  FakeController& second = system.Add(2);
  FakeController& third = system.Add(3);
  ASSERT_TRUE(Start());
  EXPECT_TRUE(device->HasDevice());
  EXPECT_FALSE(device->ForceFeedbackWanted());
  EXPECT_TRUE(second.opened);
  EXPECT_FALSE(third.opened);
  EXPECT_EQ(system.createDeviceCalls, 2);
}

TEST_F(PadDeviceTest, ForceFeedbackControllerThatCannotBeCreatedFallsBackToSecondPass) {
  FakeController& rumble = system.Add(1, true);
  rumble.createResult = kFail;
  ASSERT_TRUE(Start());
  EXPECT_FALSE(device->HasDevice());
  EXPECT_FALSE(device->ForceFeedbackWanted());
  EXPECT_EQ(system.enumerations.size(), 2u);
}

TEST_F(PadDeviceTest, FailedFirstEnumerationFallsBackToSecondPass) {
  system.Add(1, true);
  system.enumerationResults = {kFail, platform::kDiOk};
  ASSERT_TRUE(Start());
  EXPECT_TRUE(device->HasDevice());
  EXPECT_FALSE(device->ForceFeedbackWanted());
}

TEST_F(PadDeviceTest, FailedSecondEnumerationLeavesNoDeviceAndZAxisUntouched) {
  system.Add(1);
  system.enumerationResults = {kFail, kFail};
  ASSERT_TRUE(Start());
  EXPECT_FALSE(device->HasDevice());
  EXPECT_TRUE(device->HasZAxis());
}

// --- Device setup ------------------------------------------------------------

TEST_F(PadDeviceTest, SetupConfiguresTheDeviceInOrder) {
  StickPad();
  ASSERT_TRUE(Start());
  // The plain controller is found in the second pass only.
  const std::vector<std::string> expected = {"DirectInput8Create", "EnumDevices",  "EnumDevices", "CreateDevice",
                                             "GetCapabilities",    "SetProperty",  "SetDataFormat",
                                             "SetCooperativeLevel", "EnumObjects", "SetProperty",
                                             "SetProperty",        "Acquire"};
  EXPECT_EQ(system.log, expected);
}

TEST_F(PadDeviceTest, SetupPassesTheDocumentedValues) {
  FakeController& pad = StickPad();
  ASSERT_TRUE(Start());
  ASSERT_EQ(pad.capsSizes.size(), 1u);
  EXPECT_EQ(pad.capsSizes[0], 44u);
  ASSERT_EQ(pad.bufferSizes.size(), 1u);
  EXPECT_EQ(pad.bufferSizes[0].diph.dwSize, 20u);
  EXPECT_EQ(pad.bufferSizes[0].diph.dwHeaderSize, 16u);
  EXPECT_EQ(pad.bufferSizes[0].diph.dwObj, 0u);
  EXPECT_EQ(pad.bufferSizes[0].diph.dwHow, platform::kDiphDevice);
  EXPECT_EQ(pad.bufferSizes[0].dwData, 640u);
  ASSERT_EQ(pad.dataFormats.size(), 1u);
  EXPECT_EQ(pad.dataFormats[0], platform::DiDataFormat::kJoystick2);
  ASSERT_EQ(pad.cooperativeLevels.size(), 1u);
  EXPECT_EQ(pad.cooperativeLevels[0].first, kWindow);
  EXPECT_EQ(pad.cooperativeLevels[0].second, 0x9u);
  ASSERT_EQ(pad.objectEnumerations.size(), 1u);
  EXPECT_EQ(pad.objectEnumerations[0].first, reinterpret_cast<void*>(kWindow));
  EXPECT_EQ(pad.objectEnumerations[0].second, 0u);
  EXPECT_EQ(pad.acquires, 1);
}

TEST_F(PadDeviceTest, PolledCapabilityFlagsTurnOnPolling) {
  struct Case {
    std::uint32_t flags;
    bool polled;
  };
  const Case cases[] = {{0x0, false}, {0x2, true}, {0x8, true}, {0xA, true}, {0x1 | 0x4 | 0x10, false}};
  for (const Case& c : cases) {
    FreshPad row;
    FakeController& pad = row.pad;
    pad.capsFlags = c.flags;
    ASSERT_TRUE(row.device.Init(kInstance));
    EXPECT_EQ(row.device.NeedsPoll(), c.polled) << "flags " << c.flags;
    row.device.Update();
    EXPECT_EQ(pad.polls, c.polled ? 1 : 0) << "flags " << c.flags;
  }
}

TEST_F(PadDeviceTest, FailedConfigurationStepReleasesTheDeviceAndSkipsTheRest) {
  enum Step { kBufferSize, kDataFormat, kCooperative, kObjects };
  struct Case {
    Step step;
    const char* lastCall;
  };
  const Case cases[] = {{kBufferSize, "SetProperty"},
                        {kDataFormat, "SetDataFormat"},
                        {kCooperative, "SetCooperativeLevel"},
                        {kObjects, "EnumObjects"}};
  for (const Case& c : cases) {
    FreshPad row;
    FakeController& pad = row.pad;
    if (c.step == kBufferSize) pad.bufferSizeResult = kFail;
    if (c.step == kDataFormat) pad.dataFormatResult = kFail;
    if (c.step == kCooperative) pad.cooperativeResult = kFail;
    if (c.step == kObjects) pad.enumObjectsResult = kFail;
    EXPECT_TRUE(row.device.Init(kInstance));
    EXPECT_FALSE(row.device.HasDevice()) << c.lastCall;
    EXPECT_TRUE(pad.released) << c.lastCall;
    EXPECT_EQ(pad.acquires, 0) << c.lastCall;
    ASSERT_GE(row.system.log.size(), 2u);
    EXPECT_EQ(row.system.log[row.system.log.size() - 2], c.lastCall);
    EXPECT_EQ(row.system.log.back(), "Release device");
    row.system.log.clear();
    row.device.Update();
    EXPECT_TRUE(row.system.log.empty()) << c.lastCall;
  }
}

TEST_F(PadDeviceTest, SetupSucceedsWhenPropertiesReportNoEffect) {
  FakeController& pad = StickPad();
  pad.bufferSizeResult = platform::kSFalse;
  ASSERT_TRUE(Start());
  EXPECT_TRUE(device->HasDevice());
}

// --- Range callback ---------------------------------------------------------

TEST_F(PadDeviceTest, EveryAxisGetsTheRangeMinus127To127ByOffset) {
  FakeController& pad = system.Add(1);
  pad.objects = {fakes::Object(platform::kGuidXAxis),  fakes::Object(platform::kGuidYAxis),
                 fakes::Object(platform::kGuidZAxis),  fakes::Object(platform::kGuidRxAxis),
                 fakes::Object(platform::kGuidRyAxis), fakes::Object(platform::kGuidRzAxis),
                 fakes::Object(platform::kGuidPov),    fakes::Object(platform::kGuidButton)};
  ASSERT_TRUE(Start());
  EXPECT_EQ(RangeOffsets(pad), (std::vector<std::uint32_t>{0, 4, 8, 12, 16, 20}));
  for (const auto& range : pad.ranges) {
    EXPECT_EQ(range.diph.dwSize, 24u);
    EXPECT_EQ(range.diph.dwHeaderSize, 16u);
    EXPECT_EQ(range.diph.dwHow, platform::kDiphByOffset);
    EXPECT_EQ(range.lMin, -127);
    EXPECT_EQ(range.lMax, 127);
  }
  EXPECT_TRUE(device->HasZAxis());
}

TEST_F(PadDeviceTest, ControllerWithoutZAxisReportsNone) {
  FakeController& pad = StickPad();
  pad.objects.push_back(fakes::Object(platform::kGuidRzAxis));
  ASSERT_TRUE(Start());
  EXPECT_FALSE(device->HasZAxis());
}

TEST_F(PadDeviceTest, SlidersGetTheFirstAndSecondSliderOffsetsInEnumerationOrder) {
  FakeController& pad = system.Add(1);
  pad.objects = {fakes::Object(platform::kGuidZAxis), fakes::Object(platform::kGuidSlider),
                 fakes::Object(platform::kGuidButton), fakes::Object(platform::kGuidSlider),
                 fakes::Object(platform::kGuidSlider)};
  ASSERT_TRUE(Start());
  EXPECT_EQ(RangeOffsets(pad), (std::vector<std::uint32_t>{8, 24, 28}));
  EXPECT_TRUE(device->HasZAxis());
  EXPECT_EQ(sliders, 3u);
}

TEST_F(PadDeviceTest, SliderCountCarriesOverToTheNextDeviceOfTheProcess) {
  FakeController& first = system.Add(1);
  first.objects = {fakes::Object(platform::kGuidSlider)};
  ASSERT_TRUE(Start());
  EXPECT_EQ(RangeOffsets(first), (std::vector<std::uint32_t>{24}));
  device.reset();

  FakeDirectInputSystem later;
  FakeController& second = later.Add(2);
  second.objects = {fakes::Object(platform::kGuidSlider), fakes::Object(platform::kGuidSlider)};
  PadDevice again(later, input, sliders);
  padtool::PublishPadDevice(&again);
  ASSERT_TRUE(again.Init(kInstance));
  EXPECT_EQ(RangeOffsets(second), (std::vector<std::uint32_t>{28}));
}

TEST_F(PadDeviceTest, DefaultSliderCountIsTheProcessWideOne) {
  const std::uint32_t before = padtool::ProcessSliderCount();
  FakeController& pad = system.Add(1);
  pad.objects = {fakes::Object(platform::kGuidSlider)};
  PadDevice pd(system);
  padtool::PublishPadDevice(&pd);
  ASSERT_TRUE(pd.Init(kInstance));
  EXPECT_EQ(padtool::ProcessSliderCount(), before + 1);
}

// --- Read cycle ---------------------------------------------------------------

TEST_F(PadDeviceTest, NoDeviceMakesNoDeviceCallAndYieldsEmptyMasks) {
  ASSERT_TRUE(Start());
  system.log.clear();
  input.held = ~0ull;
  input.pressed = ~0ull;
  device->Update();
  EXPECT_TRUE(system.log.empty());
  EXPECT_EQ(input.held, 0u);
  EXPECT_EQ(input.pressed, 0u);
}

TEST_F(PadDeviceTest, StickDirectionsNeedMoreThan63) {
  struct Case {
    std::int32_t x, y;
    std::uint64_t held;
  };
  const Case cases[] = {{64, 0, kRight},   {63, 0, 0},       {-64, 0, kLeft},  {-63, 0, 0},
                        {0, 64, kDown},    {0, 63, 0},       {0, -64, kUp},    {0, -63, 0},
                        {127, -127, kRight | kUp}, {-127, 127, kLeft | kDown}};
  for (const Case& c : cases) {
    FreshPad row;
    FakeController& pad = row.pad;
    ASSERT_TRUE(row.device.Init(kInstance));
    pad.state.lX = c.x;
    pad.state.lY = c.y;
    row.device.Update();
    EXPECT_EQ(row.state.held, c.held) << c.x << "," << c.y;
    EXPECT_EQ(row.state.pressed, c.held) << c.x << "," << c.y;
  }
}

TEST_F(PadDeviceTest, HeldDirectionIsPressedOnlyInItsFirstTick) {
  FakeController& pad = StartWithPad();
  pad.state.lX = 100;
  pad.state.lY = -100;
  device->Update();
  EXPECT_EQ(input.held, kRight | kUp);
  EXPECT_EQ(input.pressed, kRight | kUp);
  for (int tick = 0; tick < 3; ++tick) {
    device->Update();
    EXPECT_EQ(input.held, kRight | kUp);
    EXPECT_EQ(input.pressed, 0u);
  }
  pad.state.lY = 0;
  device->Update();
  EXPECT_EQ(input.held, kRight);
  EXPECT_EQ(input.pressed, 0u);
  pad.state.lY = -100;
  device->Update();
  EXPECT_EQ(input.pressed, kUp);
}

TEST_F(PadDeviceTest, ButtonsAreHeldFromTheStateHighBitOfTheFirst32Entries) {
  FakeController& pad = StartWithPad();
  pad.state.rgbButtons[0] = 0x80;
  pad.state.rgbButtons[5] = 0xFF;
  pad.state.rgbButtons[9] = 0x7F;
  pad.state.rgbButtons[31] = 0x80;
  pad.state.rgbButtons[32] = 0x80;
  device->Update();
  EXPECT_EQ(input.held, Bit(0) | Bit(5) | Bit(31));
  EXPECT_EQ(input.pressed, 0u) << "buttons are pressed only by events";
}

TEST_F(PadDeviceTest, PressAndReleaseWithinOneTickIsPressedButNotHeld) {
  FakeController& pad = StartWithPad();
  pad.Press(0);
  pad.Release(0);
  device->Update();
  EXPECT_EQ(input.pressed, Bit(0));
  EXPECT_EQ(input.held, 0u);
}

TEST_F(PadDeviceTest, PressStillHeldIsBothPressedAndHeld) {
  FakeController& pad = StartWithPad();
  pad.Hold(2, true);
  pad.Press(2);
  device->Update();
  EXPECT_EQ(input.pressed, Bit(2));
  EXPECT_EQ(input.held, Bit(2));
  device->Update();
  EXPECT_EQ(input.pressed, 0u);
  EXPECT_EQ(input.held, Bit(2));
}

TEST_F(PadDeviceTest, ReleaseEventInvertsHeldForOneTick) {
  FakeController& pad = StartWithPad();
  pad.Release(7);
  device->Update();
  EXPECT_EQ(input.held, Bit(7));
  EXPECT_EQ(input.pressed, 0u);
  device->Update();
  EXPECT_EQ(input.held, 0u);
}

TEST_F(PadDeviceTest, ReleaseEventOfAButtonStillDownClearsItsHeldBit) {
  FakeController& pad = StartWithPad();
  pad.Hold(4, true);
  pad.Release(4);
  device->Update();
  EXPECT_EQ(input.held, 0u);
}

TEST_F(PadDeviceTest, EventsOutsideTheFirst32ButtonsOrWithOtherDataChangeNothing) {
  FakeController& pad = StartWithPad();
  pad.Queue(platform::DijofsButton(32), 0x80);  // Button 33
  pad.Queue(platform::DijofsButton(32), 0);
  pad.Queue(platform::kDijofsX, 0x80);
  pad.Queue(47, 0x80);
  pad.Queue(platform::DijofsButton(3), 0x01);
  pad.Queue(platform::DijofsButton(3), 0xFF);
  device->Update();
  EXPECT_EQ(input.held, 0u);
  EXPECT_EQ(input.pressed, 0u);
}

TEST_F(PadDeviceTest, Button32EventIsTheLastOneCounted) {
  FakeController& pad = StartWithPad();
  pad.Press(31);
  device->Update();
  EXPECT_EQ(input.pressed, Bit(31));
}

TEST_F(PadDeviceTest, LostStateReacquiresAndKeepsOnlyTheButtonEvents) {
  for (platform::HResult lost : {platform::kDiErrInputLost, platform::kDiErrNotAcquired}) {
    FreshPad row;
    FakeController& pad = row.pad;
    ASSERT_TRUE(row.device.Init(kInstance));
    pad.state.lX = 127;
    pad.state.rgbButtons[3] = 0x80;
    row.device.Update();
    ASSERT_EQ(row.state.held, kRight | Bit(3));

    pad.stateResult = lost;
    pad.Press(1);
    row.system.log.clear();
    row.device.Update();
    EXPECT_EQ(row.state.held, Bit(1));
    EXPECT_EQ(row.state.pressed, Bit(1));
    EXPECT_EQ(row.system.log, (std::vector<std::string>{"GetDeviceState", "Acquire", "GetDeviceData"}));

    // The direction still held comes back as a new press in the next good cycle.
    pad.stateResult = platform::kDiOk;
    row.device.Update();
    EXPECT_EQ(row.state.pressed, kRight);
  }
}

TEST_F(PadDeviceTest, OtherStateFailureSkipsTheStateWithoutReacquiring) {
  FakeController& pad = StartWithPad();
  pad.stateResult = kFail;
  pad.state.rgbButtons[0] = 0x80;
  pad.Press(6);
  device->Update();
  EXPECT_EQ(input.held, Bit(6));
  EXPECT_EQ(input.pressed, Bit(6));
  EXPECT_EQ(pad.acquires, 1) << "only the setup acquire";
}

TEST_F(PadDeviceTest, StateReadReturningSFalseCounts) {
  FakeController& pad = StartWithPad();
  pad.stateResult = platform::kSFalse;
  pad.state.rgbButtons[1] = 0x80;
  device->Update();
  EXPECT_EQ(input.held, Bit(1));
}

TEST_F(PadDeviceTest, LostEventReadReacquiresAndDropsEvents) {
  for (platform::HResult lost : {platform::kDiErrInputLost, platform::kDiErrNotAcquired}) {
    FreshPad row;
    FakeController& pad = row.pad;
    ASSERT_TRUE(row.device.Init(kInstance));
    pad.dataResult = lost;
    pad.state.rgbButtons[2] = 0x80;
    pad.Press(0);
    row.system.log.clear();
    row.device.Update();
    EXPECT_EQ(row.state.held, Bit(2));
    EXPECT_EQ(row.state.pressed, 0u);
    EXPECT_EQ(row.system.log, (std::vector<std::string>{"GetDeviceState", "GetDeviceData", "Acquire"}));
  }
}

TEST_F(PadDeviceTest, BufferOverflowStillUsesTheReturnedEvents) {
  FakeController& pad = StartWithPad();
  pad.dataResult = platform::kDiBufferOverflow;
  pad.Press(9);
  device->Update();
  EXPECT_EQ(input.pressed, Bit(9));
}

TEST_F(PadDeviceTest, OtherEventReadFailureYieldsNoEvents) {
  FakeController& pad = StartWithPad();
  pad.dataResult = kFail;
  pad.Press(9);
  device->Update();
  EXPECT_EQ(input.pressed, 0u);
  EXPECT_EQ(pad.acquires, 1);
}

TEST_F(PadDeviceTest, ReadsTheFullStateAndAtMost32EventsOfSize20) {
  FakeController& pad = StartWithPad();
  for (std::uint32_t b = 0; b < 32; ++b) pad.Release(b);
  pad.Press(5);
  device->Update();
  EXPECT_EQ(pad.lastStateSize, 272u);
  EXPECT_EQ(pad.lastObjectSize, 20u);
  EXPECT_EQ(pad.lastRoom, 32u);
  EXPECT_EQ(pad.lastDataFlags, 0u);
  EXPECT_EQ(input.held, 0xFFFFFFFFull);
  EXPECT_EQ(input.pressed, 0u);
  device->Update();
  EXPECT_EQ(input.pressed, Bit(5));
}

TEST_F(PadDeviceTest, ReportedEventCountBeyondTheRoomIsBounded) {
  FakeController& pad = StartWithPad();
  pad.Press(3);
  pad.reportedCountOverride = 1000;
  device->Update();
  EXPECT_EQ(input.pressed, Bit(3));
}

TEST_F(PadDeviceTest, PollComesLastAndOnlyForPolledDevices) {
  StartWithPad(platform::kDidcPolledDevice);
  device->Update();
  EXPECT_EQ(system.log, (std::vector<std::string>{"GetDeviceState", "GetDeviceData", "Poll"}));
}

TEST_F(PadDeviceTest, RawStateIsKeptForReaders) {
  FakeController& pad = StartWithPad();
  pad.state.lZ = -5;
  pad.state.lRz = 99;
  pad.state.rglSlider[1] = 17;
  pad.state.rgdwPOV[0] = 9000;
  pad.state.rgdwPOV[1] = 0xFFFFFFFF;
  device->Update();
  EXPECT_EQ(device->State().lZ, -5);
  EXPECT_EQ(device->State().lRz, 99);
  EXPECT_EQ(device->State().rglSlider[1], 17);
  EXPECT_EQ(device->State().rgdwPOV[0], 9000u);
  EXPECT_EQ(device->State().rgdwPOV[1], 0xFFFFFFFFu);
  EXPECT_EQ(input.held, 0u) << "Z, rotations, sliders and hats make no direction bits";
}

// --- Force feedback ----------------------------------------------------------

// A force-feedback controller whose first `actuators` of X, Y, Z drive force.
FakeController& RumblePad(FakeDirectInputSystem& system, std::uint32_t actuators) {
  FakeController& pad = system.Add(1, true);
  const platform::Guid axes[] = {platform::kGuidXAxis, platform::kGuidYAxis, platform::kGuidZAxis};
  for (std::uint32_t i = 0; i < 3; ++i) {
    pad.objects.push_back(fakes::Object(axes[i], i < actuators ? platform::kDidoiFfActuator : 0));
  }
  pad.objects.push_back(fakes::Object(platform::kGuidButton));
  return pad;
}

// The magnitudes sent in the next `cycles` read cycles.
std::vector<std::int32_t> Magnitudes(PadDevice& device, const FakeController& pad, int cycles) {
  std::vector<std::int32_t> sent;
  for (int i = 0; i < cycles; ++i) {
    device.Update();
    sent.push_back(pad.Sent(pad.sentCount - 1).magnitude);
  }
  return sent;
}

TEST_F(PadDeviceTest, EffectIsCreatedWithTheDocumentedParameters) {
  FakeController& pad = RumblePad(system, 2);
  ASSERT_TRUE(Start());
  ASSERT_TRUE(device->HasEffect());
  EXPECT_EQ(device->ForceAxisCount(), 2u);
  ASSERT_EQ(pad.objectEnumerations.size(), 2u);
  EXPECT_EQ(pad.objectEnumerations[1].second, platform::kDidftAxis);
  ASSERT_EQ(pad.effects.size(), 1u);
  const fakes::CreatedEffect& effect = pad.effects[0];
  EXPECT_EQ(effect.type, platform::kGuidConstantForce);
  EXPECT_EQ(effect.fields.dwSize, 56u);
  EXPECT_EQ(effect.fields.dwFlags, 0x12u);  // DIEFF_CARTESIAN | DIEFF_OBJECTOFFSETS
  EXPECT_EQ(effect.fields.dwDuration, 0xFFFFFFFFu);
  EXPECT_EQ(effect.fields.dwSamplePeriod, 0u);
  EXPECT_EQ(effect.fields.dwGain, 10000u);
  EXPECT_EQ(effect.fields.dwTriggerButton, 0xFFFFFFFFu);
  EXPECT_EQ(effect.fields.dwTriggerRepeatInterval, 0u);
  EXPECT_EQ(effect.axes, (std::vector<std::uint32_t>{0, 4}));
  EXPECT_EQ(effect.direction, (std::vector<std::int32_t>{0, 0}));
  EXPECT_EQ(effect.fields.lpEnvelope, nullptr);
  EXPECT_EQ(effect.fields.cbTypeSpecificParams, 4u);
  EXPECT_EQ(effect.magnitude, 0);
  EXPECT_EQ(effect.fields.dwStartDelay, 0u);
  const std::vector<std::string> tail(system.log.end() - 3, system.log.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"Acquire", "EnumObjects", "CreateEffect"}));
}

TEST_F(PadDeviceTest, VibrationPulseFadesOverItsCyclesOnOneAxis) {
  FakeController& pad = RumblePad(system, 1);
  ASSERT_TRUE(Start());
  device->AddPulse(10000, 1000, 5);
  EXPECT_EQ(Magnitudes(*device, pad, 6), (std::vector<std::int32_t>{8200, 6400, 4600, 2800, 0, 0}));
  const fakes::SentForce& last = pad.Sent(pad.sentCount - 1);
  EXPECT_EQ(last.flags, 0x20000140u);
  EXPECT_EQ(last.size, 56u);
  EXPECT_EQ(last.effectFlags, 0x12u);
  EXPECT_EQ(last.axisCount, 1u);
  EXPECT_EQ(last.typeSpecificSize, 4u);
  EXPECT_TRUE(last.otherFieldsZero);
  EXPECT_EQ(pad.Sent(0).direction[0], 0) << "one axis: no direction";
}

TEST_F(PadDeviceTest, TwoAxesSendTheDiagonalWithItsLength) {
  FakeController& pad = RumblePad(system, 3);
  ASSERT_TRUE(Start());
  device->AddPulse(10000, 1000, 5);
  EXPECT_EQ(Magnitudes(*device, pad, 5), (std::vector<std::int32_t>{11596, 9050, 6505, 3959, 0}));
  EXPECT_EQ(device->ForceAxisCount(), 2u) << "three actuators are driven on two";
  EXPECT_EQ(pad.effects[0].fields.cAxes, 2u);
  EXPECT_EQ(pad.Sent(0).axisCount, 2u);
  EXPECT_EQ(pad.Sent(0).direction[0], 8200);
  EXPECT_EQ(pad.Sent(0).direction[1], 8200);
}

TEST_F(PadDeviceTest, OverlappingPulsesAddUpAndKeepTheSignOnOneAxis) {
  FakeController& pad = RumblePad(system, 1);
  ASSERT_TRUE(Start());
  device->AddPulse(10000, 1000, 5);
  device->Update();
  device->AddPulse(10000, 1000, 5);
  EXPECT_EQ(Magnitudes(*device, pad, 5), (std::vector<std::int32_t>{14600, 11000, 7400, 2800, 0}));
  device->AddPulse(-3000, -1000, 3);
  EXPECT_EQ(Magnitudes(*device, pad, 1), (std::vector<std::int32_t>{-2334}));
}

TEST_F(PadDeviceTest, ShortPulsesGiveNothing) {
  FakeController& pad = RumblePad(system, 1);
  ASSERT_TRUE(Start());
  device->AddPulse(5000, 5000, 1);
  device->AddPulse(7000, 7000, 0);
  device->AddPulse(9000, 9000, -4);
  EXPECT_EQ(Magnitudes(*device, pad, 2), (std::vector<std::int32_t>{0, 0}));
  EXPECT_EQ(device->Pulses()[0].remaining, 0);
  EXPECT_EQ(device->Pulses()[1].remaining, 0);
  EXPECT_EQ(device->Pulses()[2].remaining, -4);
}

TEST_F(PadDeviceTest, NinthPulseOverwritesTheFirstSlot) {
  ASSERT_TRUE(Start());
  for (std::int32_t i = 1; i <= 9; ++i) device->AddPulse(i, i, 10 * i);
  EXPECT_EQ(device->Pulses()[0].start, 9);
  EXPECT_EQ(device->Pulses()[0].remaining, 90);
  EXPECT_EQ(device->Pulses()[1].start, 2);
  EXPECT_EQ(device->WritePosition(), 1);
}

TEST_F(PadDeviceTest, InitClearsTheRingAndHatsReadCentredUntilTheFirstRead) {
  RumblePad(system, 1);
  device = std::make_unique<PadDevice>(system, input, sliders);
  padtool::PublishPadDevice(device.get());
  device->AddPulse(1, 2, 3);
  device->AddPulse(1, 2, 3);
  ASSERT_TRUE(device->Init(kInstance));
  EXPECT_EQ(device->WritePosition(), 0);
  for (const padtool::VibrationPulse& pulse : device->Pulses()) EXPECT_EQ(pulse.remaining, 0);
  EXPECT_EQ(device->State().rgdwPOV[0], padtool::kHatCentred);
  EXPECT_EQ(device->State().rgdwPOV[1], padtool::kHatCentred);
}

TEST_F(PadDeviceTest, EveryCycleAcquiresThenRestartsTheEffect) {
  FakeController& pad = RumblePad(system, 2);
  ASSERT_TRUE(Start());
  system.log.clear();
  pad.stateResult = kFail;  // the force is refreshed whatever the state read returned
  device->Update();
  EXPECT_EQ(system.log, (std::vector<std::string>{"GetDeviceState", "Acquire", "SetParameters", "GetDeviceData"}));
  EXPECT_EQ(pad.Sent(0).magnitude, 0);

  system.log.clear();
  pad.setParametersResult = platform::kDiErrInputLost;
  device->Update();
  EXPECT_EQ(system.log, (std::vector<std::string>{"GetDeviceState", "Acquire", "SetParameters", "Acquire",
                                                  "GetDeviceData"}));
  system.log.clear();
  pad.setParametersResult = platform::kDiErrNotAcquired;
  device->Update();
  EXPECT_EQ(system.log, (std::vector<std::string>{"GetDeviceState", "Acquire", "SetParameters", "GetDeviceData"}));
}

TEST_F(PadDeviceTest, FailedEffectSetupLeavesNoEffect) {
  for (bool countingFails : {true, false}) {
    FakeDirectInputSystem system;
    FakeController& pad = RumblePad(system, 2);
    if (countingFails) pad.axisEnumResult = kFail;
    if (!countingFails) pad.createEffectResult = kFail;
    PadInputState state;
    std::uint32_t sliders = 0;
    PadDevice device(system, state, sliders);
    padtool::PublishPadDevice(&device);
    ASSERT_TRUE(device.Init(kInstance));
    EXPECT_TRUE(device.HasDevice());
    EXPECT_FALSE(device.HasEffect());
    EXPECT_EQ(pad.effects.size(), countingFails ? 0u : 1u);
    EXPECT_EQ(pad.acquires, countingFails ? 1 : 2) << "a failed creation acquires once more";
    device.AddPulse(10000, 1000, 5);
    device.Update();
    EXPECT_EQ(pad.sentCount, 0u);
  }
}

TEST_F(PadDeviceTest, ControllerFromTheSecondPassGetsNoEffect) {
  FakeController& pad = StickPad();
  pad.objects[0].dwFlags = platform::kDidoiFfActuator;
  ASSERT_TRUE(Start());
  EXPECT_FALSE(device->ForceFeedbackWanted());
  EXPECT_FALSE(device->HasEffect());
  EXPECT_EQ(pad.objectEnumerations.size(), 1u);
  device->AddPulse(10000, 1000, 5);
  EXPECT_EQ(device->WritePosition(), 1) << "the ring still fills";
  system.log.clear();
  device->Update();
  EXPECT_EQ(system.log, (std::vector<std::string>{"GetDeviceState", "GetDeviceData"}));
}

// --- Destruction ----------------------------------------------------------

TEST_F(PadDeviceTest, DestructionUnacquiresReleasesAndClearsThePointer) {
  StartWithPad();
  device.reset();
  EXPECT_EQ(system.log, (std::vector<std::string>{"Unacquire", "Release device", "Release DirectInput"}));
  EXPECT_EQ(padtool::ActivePadDevice(), nullptr);
}

TEST_F(PadDeviceTest, DestructionReleasesTheEffectBeforeTheDevice) {
  RumblePad(system, 2);
  ASSERT_TRUE(Start());
  system.log.clear();
  device.reset();
  EXPECT_EQ(system.log,
            (std::vector<std::string>{"Unacquire", "Release effect", "Release device", "Release DirectInput"}));
}

TEST_F(PadDeviceTest, DestructionWithoutDeviceReleasesOnlyDirectInput) {
  ASSERT_TRUE(Start());
  system.log.clear();
  device.reset();
  EXPECT_EQ(system.log, (std::vector<std::string>{"Release DirectInput"}));
  EXPECT_TRUE(system.directInputReleased);
}

TEST_F(PadDeviceTest, DestructionLeavesAnotherPublishedDeviceAlone) {
  ASSERT_TRUE(Start());
  FakeDirectInputSystem other;
  PadDevice published(other, input, sliders);
  padtool::PublishPadDevice(&published);
  device.reset();
  EXPECT_EQ(padtool::ActivePadDevice(), &published);
  padtool::PublishPadDevice(nullptr);
}

}  // namespace
