#include "padtool/dialogs/gamepad_test_dialog.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "padtool/dialogs/gamepad_test_readings.h"
#include "padtool/resources/resource.h"
#include "tests/fakes/fake_dialog_controls.h"
#include "tests/fakes/fake_drawing.h"
#include "tests/unit/padtool/live_pad.h"

namespace {

using fakes::DrawCall;
using padtool::GamepadTestInput;
using padtool::GroupMarkers;
using padtool::PadFunction;
using padtool::TestReadings;
using platform::JoyState2;

constexpr std::uint32_t kCentred = padtool::kHatCentred;
using padtool_test::Resting;

// --- Readings -------------------------------------------------------------------

TEST(GamepadTestReadings, HeldIsOnlyForButtonBits) {
  const JoyState2 state = Resting();
  const TestReadings read(state, (1u << 0) | (1u << 31) | (1ull << 32) | (1ull << 35), true, true);
  EXPECT_EQ(read.Held(0), 127);
  EXPECT_EQ(read.Held(31), 127);
  EXPECT_EQ(read.Held(1), 0);
  EXPECT_EQ(read.Held(32), 0) << "an axis code is never held";
  EXPECT_EQ(read.Held(35), 0);
  EXPECT_EQ(read.Held(-1), 0);
  EXPECT_EQ(read.Held(64), 0);
}

TEST(GamepadTestReadings, AxesSlidersAndTheirFlags) {
  JoyState2 state = Resting();
  state.lX = -20;
  state.lRz = 99;
  state.rglSlider[0] = 50;
  state.rglSlider[1] = -60;
  const TestReadings on(state, 0, true, true);
  EXPECT_EQ(on.Axis(32), -20);
  EXPECT_EQ(on.Axis(-32), 20);
  EXPECT_EQ(on.Axis(37), 99);
  EXPECT_EQ(on.Axis(38), 50);
  EXPECT_EQ(on.Axis(-39), 60);
  EXPECT_EQ(on.Axis(5), 0);
  EXPECT_EQ(on.Axis(44), 0);
  const TestReadings off(state, 0, false, false);
  EXPECT_EQ(off.Axis(38), 0) << "the slider moves, but the slider flag is clear";
  EXPECT_EQ(off.Axis(-39), 0);
}

TEST(GamepadTestReadings, HatHalfAxesBySector) {
  struct Case {
    std::uint32_t angle;
    int horizontal, firstVertical, secondVertical;
  };
  const Case cases[] = {{kCentred, 0, 0, 0},   {0, 0, -127, 127},     {2250, 127, -127, 127},
                        {6750, 127, -127, 127}, {6751, 127, 0, 0},     {11250, 127, 127, -127},
                        {15750, 0, 127, -127},  {20250, -127, 127, -127}, {24750, -127, 0, 0},
                        {29250, -127, -127, 127}, {33750, 0, -127, 127}};
  for (const Case& c : cases) {
    JoyState2 state = Resting();
    state.rgdwPOV[0] = c.angle;
    state.rgdwPOV[1] = c.angle;
    const TestReadings read(state, 0, false, true);
    EXPECT_EQ(read.Axis(40), c.horizontal) << c.angle;
    EXPECT_EQ(read.Axis(42), c.horizontal) << c.angle;
    EXPECT_EQ(read.Axis(41), c.firstVertical) << c.angle;
    EXPECT_EQ(read.Axis(43), c.secondVertical) << c.angle;
    EXPECT_EQ(read.Axis(-41), -c.firstVertical) << c.angle;
    EXPECT_EQ(TestReadings(state, 0, true, false).Axis(41), 0) << "hats off, " << c.angle;
  }
}

TEST(GamepadTestReadings, PairPrefersTheAxisThenTheFirstButtonThenTheSecond) {
  JoyState2 state = Resting();
  state.lY = 40;
  const TestReadings read(state, (1u << 4) | (1u << 5), true, true);
  EXPECT_EQ(read.Pair(33, 33), 40);
  EXPECT_EQ(read.Pair(4, 5), -127) << "up button held";
  EXPECT_EQ(read.Pair(6, 5), 127) << "only the down button held";
  EXPECT_EQ(read.Pair(6, 7), 0);
  EXPECT_EQ(read.Pair(4, 34), -127) << "an axis at rest gives way to the buttons";
}

// --- Dialog ------------------------------------------------------------------------

GamepadTestInput MovementOnTheStick() {
  GamepadTestInput input{};
  input.directions = {33, 33, 32, 32, 37, 37, 34, 34, 41, 41, 40, 40};
  input.functions.fill(-1);
  input.forceFeedbackEnabled = true;
  input.sliderEnabled = true;
  input.hatSwitchesEnabled = true;
  return input;
}

class GamepadTestDialogTest : public ::testing::Test {
 protected:
  GamepadTestDialogTest() : live(true), input(MovementOnTheStick()) {}

  void Open() {
    dialog.emplace(controls, drawing, input, last);
    dialog->OnInit();
  }
  void Tick() {
    drawing.calls.clear();
    dialog->OnTimer(1);
  }
  // The three markers of the last tick, in group order.
  std::vector<std::pair<int, int>> Markers() const {
    std::vector<std::pair<int, int>> points;
    for (const DrawCall& call : drawing.Of(DrawCall::kText)) points.emplace_back(call.x, call.y);
    return points;
  }

  padtool_test::LivePad live;
  GamepadTestInput input;
  fakes::FakeDialogControls controls;
  fakes::FakeWindowDrawing drawing;
  GroupMarkers last{};
  std::optional<padtool::GamepadTestDialog> dialog;
};

TEST_F(GamepadTestDialogTest, MarkersRestAtTheirRowsAndAreDrawnEveryTick) {
  Open();
  EXPECT_TRUE(controls.timers.count(1));
  ASSERT_EQ(drawing.pictureCentres.size(), 3u);
  EXPECT_EQ(drawing.pictureCentres[2].y, 366);
  for (int tick = 0; tick < 2; ++tick) {
    Tick();
    EXPECT_EQ(Markers(), (std::vector<std::pair<int, int>>{{76, 94}, {76, 231}, {76, 366}}));
    EXPECT_TRUE(drawing.Of(DrawCall::kRedrawRect).empty());
    EXPECT_TRUE(drawing.Of(DrawCall::kText)[0].withContext);
  }
}

TEST_F(GamepadTestDialogTest, StickLeftMovesTheMarkerAndReleaseErasesTheOldPlace) {
  Open();
  live.pad.state.lX = -127;
  live.pad.state.lY = -5;
  Tick();
  EXPECT_EQ(Markers()[0], std::make_pair(45, 93)) << "divisions truncate toward zero";
  live.pad.state.lX = 0;
  live.pad.state.lY = 0;
  Tick();
  const std::vector<DrawCall> erased = drawing.Of(DrawCall::kRedrawRect);
  ASSERT_EQ(erased.size(), 1u);
  EXPECT_EQ(erased[0].rect.left, 45);
  EXPECT_EQ(erased[0].rect.top, 93);
  EXPECT_EQ(erased[0].rect.right, 57);
  EXPECT_EQ(erased[0].rect.bottom, 93 + 16) << "the whole cell of a 16-pixel-high \"+\"";
  EXPECT_EQ(erased[0].flags, 0x185u);
  EXPECT_FALSE(erased[0].withContext) << "the erase comes before the context is taken";
  EXPECT_EQ(Markers()[0], std::make_pair(76, 94));
}

TEST_F(GamepadTestDialogTest, EraseCoversTwelvePixelsSquareAtLeast) {
  drawing.textSize = {7, 11};
  Open();
  live.pad.state.lZ = 127;  // the camera's horizontal
  Tick();
  live.pad.state.lZ = 0;
  Tick();
  const std::vector<DrawCall> erased = drawing.Of(DrawCall::kRedrawRect);
  ASSERT_EQ(erased.size(), 1u);
  EXPECT_EQ(erased[0].rect.left, 76 + 31);
  EXPECT_EQ(erased[0].rect.top, 231);
  EXPECT_EQ(erased[0].rect.right, 76 + 31 + 12);
  EXPECT_EQ(erased[0].rect.bottom, 231 + 12);
}

TEST_F(GamepadTestDialogTest, HeldModifierHandsTheMovementControlOver) {
  input.functions[10] = 6;  // MenusWithMovement on Button 7
  input.functions[11] = 7;  // CameraWithMovement on Button 8
  Open();
  live.pad.state.lX = 127;
  live.pad.Hold(7, true);
  Tick();
  EXPECT_EQ(Markers(), (std::vector<std::pair<int, int>>{{76, 94}, {107, 231}, {76, 366}}));
  live.pad.Hold(6, true);
  live.pad.state.lY = 127;
  Tick();
  EXPECT_EQ(Markers(), (std::vector<std::pair<int, int>>{{76, 94}, {76, 231}, {76, 397}}))
      << "menus win over camera, and take the vertical only";
}

TEST_F(GamepadTestDialogTest, MenusHatDiagonalMovesUpOnly) {
  Open();
  live.pad.state.rgdwPOV[0] = 4500;
  Tick();
  EXPECT_EQ(Markers()[2], std::make_pair(76, 366 - 31));
}

TEST_F(GamepadTestDialogTest, IndicatorsLightForHeldButtonsOnly) {
  input.functions[13] = 3;   // TakeScreenshot on Button 4
  input.functions[14] = 36;  // ToggleDirectional on an axis code
  Open();
  live.pad.Hold(3, true);
  live.pad.state.lRy = 127;
  Tick();
  EXPECT_TRUE(controls.checked[IDC_TEST_SCREENSHOT]);
  EXPECT_FALSE(controls.checked[IDC_TEST_TOGGLE_DIRECTIONAL]);
  EXPECT_EQ(controls.checked.size(), 15u);
}

// Each function on its own button (slot k on Button k + 1): holding one button
// lights exactly the indicator of its function.
TEST_F(GamepadTestDialogTest, EachIndicatorShowsItsOwnFunction) {
  // Indicator id and the function's storage entry.
  const std::pair<int, int> kIndicatorEntries[] = {{1013, 7},  {1014, 5},  {1015, 8},  {1016, 6},  {1017, 0},
                                                   {1019, 1},  {1018, 3},  {1020, 12}, {1021, 9},  {1026, 4},
                                                   {1022, 2},  {1023, 25}, {1027, 10}, {1028, 11}, {1030, 26}};
  for (int slot = 0; slot < 15; ++slot) input.functions[static_cast<std::size_t>(slot)] = slot;
  Open();
  for (const auto& [indicator, entry] : kIndicatorEntries) {
    const int button = entry <= 12 ? entry : entry - 12;
    live.pad.state = Resting();
    live.pad.Hold(static_cast<std::uint32_t>(button), true);
    Tick();
    for (const auto& [other, unused] : kIndicatorEntries) {
      EXPECT_EQ(controls.checked[other], other == indicator) << "Button " << button + 1 << ", indicator " << other;
    }
  }
}

TEST_F(GamepadTestDialogTest, WithoutAContextTheOldMarkerIsErasedAndNothingElseHappens) {
  input.functions[0] = 0;  // Autorun on Button 1, held below
  Open();
  drawing.contextAvailable = false;
  live.pad.state.lX = -127;
  live.pad.Hold(0, true);
  Tick();
  EXPECT_EQ(drawing.Of(DrawCall::kRedrawRect).size(), 1u) << "the erase comes before the context";
  EXPECT_EQ(last[0].h, -127) << "the new value counts as shown";
  EXPECT_TRUE(drawing.Of(DrawCall::kText).empty());
  EXPECT_TRUE(controls.checked.empty()) << "no indicator is touched";
}

TEST_F(GamepadTestDialogTest, SecondOpeningErasesWhereTheFirstLeft) {
  Open();
  live.pad.state.lY = 127;
  Tick();
  dialog.reset();
  live.pad.state.lY = 0;
  Open();
  Tick();
  const std::vector<DrawCall> erased = drawing.Of(DrawCall::kRedrawRect);
  ASSERT_EQ(erased.size(), 1u);
  EXPECT_EQ(erased[0].rect.top, 94 + 31);
}

TEST_F(GamepadTestDialogTest, VibrationTestFollowsTheForceFeedbackFlag) {
  for (bool forceFeedback : {true, false}) {
    input.forceFeedbackEnabled = forceFeedback;
    Open();
    EXPECT_EQ(controls.IsEnabled(IDC_TEST_VIBRATION), forceFeedback);
    const std::int16_t before = live.device.WritePosition();
    EXPECT_TRUE(dialog->OnCommand(IDC_TEST_VIBRATION, platform::kBnClicked));
    EXPECT_EQ(live.device.WritePosition(), forceFeedback ? before + 1 : before);
    if (forceFeedback) {
      const padtool::VibrationPulse& pulse = live.device.Pulses()[static_cast<std::size_t>(before)];
      EXPECT_EQ(pulse.start, 10000);
      EXPECT_EQ(pulse.end, 1000);
      EXPECT_EQ(pulse.duration, 5);
    }
  }
  EXPECT_FALSE(dialog->OnCommand(IDC_TEST_SELECT_CONFIRM, platform::kBnClicked)) << "indicators are left alone";
}

}  // namespace
