#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "padtool/capture/capture_confirm_dialog.h"
#include "padtool/capture/capture_preview.h"
#include "padtool/capture/direction_capture_dialog.h"
#include "padtool/resources/resource.h"
#include "tests/fakes/fake_debug_output.h"
#include "tests/fakes/fake_dialog_controls.h"
#include "tests/fakes/fake_drawing.h"
#include "tests/unit/padtool/live_pad.h"

namespace {

using fakes::DrawCall;
using padtool::CapturedDirections;
using padtool::DirectionCaptureDialog;
using padtool::MarkerPosition;
using padtool::PadInputState;
using platform::JoyState2;

constexpr std::uint32_t kCentred = padtool::kHatCentred;
using padtool_test::Resting;

// --- Probe --------------------------------------------------------------------

std::optional<padtool::InputCode> Probe(const JoyState2& state, std::uint64_t held = 0, bool hats = true,
                                        bool slider = true, std::uint64_t pressed = 1) {
  return DirectionCaptureDialog::ProbeControl(PadInputState{held | pressed, pressed}, state, hats, slider);
}

TEST(DirectionProbe, NothingWithoutANewPressOfButtonOne) {
  JoyState2 state = Resting();
  state.lX = 127;
  EXPECT_EQ(Probe(state, 1u << 2, true, true, 0), std::nullopt);
  EXPECT_EQ(Probe(state, 0, true, true, 1u << 1), std::nullopt) << "Button 2 is no confirmation";
}

TEST(DirectionProbe, FirstMatchInTheDocumentedOrder) {
  struct Case {
    const char* what;
    void (*set)(JoyState2&);
    std::optional<padtool::InputCode> code;
  };
  const Case cases[] = {
      {"X above 63", [](JoyState2& s) { s.lX = 64; }, 32},
      {"X below -63", [](JoyState2& s) { s.lX = -64; }, -32},
      {"63 is no push", [](JoyState2& s) { s.lY = 63; s.lZ = -63; }, 4},
      {"X before Y", [](JoyState2& s) { s.lY = 100; s.lX = -100; }, -32},
      {"Y before Z", [](JoyState2& s) { s.lZ = 127; s.lY = -127; }, -33},
      {"Z alone", [](JoyState2& s) { s.lZ = 100; }, 34},
      {"Rx alone", [](JoyState2& s) { s.lRx = -100; }, -35},
      {"resting Rz before sliders, hats and buttons",
       [](JoyState2& s) { s.lRz = -127; s.rglSlider[0] = 127; s.rgdwPOV[0] = 0; }, -37},
      {"Rx, Ry", [](JoyState2& s) { s.lRy = 90; s.lRx = 0; }, 36},
      {"first slider before second", [](JoyState2& s) { s.rglSlider[1] = 127; s.rglSlider[0] = -127; }, -38},
      {"second slider", [](JoyState2& s) { s.rglSlider[1] = 127; }, 39},
      {"slider before hats", [](JoyState2& s) { s.rglSlider[1] = -70; s.rgdwPOV[0] = 9000; }, -39},
      {"first hat before second", [](JoyState2& s) { s.rgdwPOV[1] = 0; s.rgdwPOV[0] = 27000; }, -40},
      {"hat at exactly 4500 matches nothing, the button does",
       [](JoyState2& s) { s.rgdwPOV[0] = 4500; }, 4},
      {"centred first hat is skipped", [](JoyState2& s) { s.rgdwPOV[1] = 18000; }, -43},
  };
  for (const Case& c : cases) {
    JoyState2 state = Resting();
    c.set(state);
    EXPECT_EQ(Probe(state, 1u << 4), c.code) << c.what;
  }
}

TEST(DirectionProbe, HatSectorsAndTheirBoundaries) {
  struct Case {
    std::uint32_t angle;
    std::optional<padtool::InputCode> first;
    std::optional<padtool::InputCode> second;
  };
  const Case cases[] = {{0, -41, 43},        {4499, -41, 43},      {4500, {}, {}},       {4501, 40, 42},
                        {9000, 40, 42},      {13500, {}, {}},      {13501, 41, -43},     {18000, 41, -43},
                        {22500, {}, {}},     {22501, -40, -42},    {27000, -40, -42},    {31500, {}, {}},
                        {31501, -41, 43},    {36000, -41, 43},     {36001, {}, {}}};
  for (const Case& c : cases) {
    JoyState2 state = Resting();
    state.rgdwPOV[0] = c.angle;
    EXPECT_EQ(Probe(state), c.first) << "first hat " << c.angle;
    state = Resting();
    state.rgdwPOV[1] = c.angle;
    EXPECT_EQ(Probe(state), c.second) << "second hat " << c.angle;
  }
}

TEST(DirectionProbe, SlidersAndHatsOnlyWhenEnabled) {
  JoyState2 state = Resting();
  state.rglSlider[0] = 127;
  state.rgdwPOV[0] = 0;
  EXPECT_EQ(Probe(state, 0, true, false), -41);
  EXPECT_EQ(Probe(state, 1u << 6, false, false), 6);
  EXPECT_EQ(Probe(state, 0, false, false), std::nullopt);
}

// --- Wizard ---------------------------------------------------------------------

class CaptureWizardTest : public ::testing::Test {
 protected:
  CaptureWizardTest() {
    for (int id = IDS_HOLD_UP; id <= IDS_HOLD_LEFT; ++id) controls.strings[id] = "hold " + std::to_string(id);
  }

  // One tick with Button 1 newly pressed while the script holds a control.
  void Confirm(void (*hold)(JoyState2&)) {
    live.pad.state = Resting();
    hold(live.pad.state);
    live.pad.Press(0);
    wizard.OnTimer(1);
    live.pad.Release(0);
    live.pad.state = Resting();
    wizard.OnTimer(1);  // the step after a capture shows the next instruction
  }

  padtool_test::LivePad live;
  fakes::FakeDialogControls controls;
  fakes::FakeDebugOutput debug;
  DirectionCaptureDialog wizard{controls, debug, "Setting movement controls.", true, true};
};

TEST_F(CaptureWizardTest, OpeningShowsTheCaptionAndStartsTheTimer) {
  wizard.OnInit();
  EXPECT_EQ(controls.text[IDC_CAPTURE_CAPTION], "Setting movement controls.");
  EXPECT_EQ(controls.text[IDC_CAPTURE_INSTRUCTION], "");
  EXPECT_TRUE(controls.timers.count(1));
  wizard.OnTimer(1);
  EXPECT_EQ(controls.text[IDC_CAPTURE_INSTRUCTION], "hold 133");
  EXPECT_EQ(wizard.Step(), 1);
}

TEST_F(CaptureWizardTest, StickInTheUsualOrientationGivesYYXX) {
  wizard.OnInit();
  wizard.OnTimer(1);
  Confirm([](JoyState2& s) { s.lY = -127; });
  EXPECT_EQ(controls.text[IDC_CAPTURE_INSTRUCTION], "hold 134");
  Confirm([](JoyState2& s) { s.lY = 127; });
  Confirm([](JoyState2& s) { s.lX = 127; });
  EXPECT_EQ(controls.text[IDC_CAPTURE_INSTRUCTION], "hold 136");
  live.pad.state.lX = -127;
  live.pad.Press(0);
  wizard.OnTimer(1);
  const CapturedDirections codes = wizard.Captured();
  EXPECT_EQ(std::vector<int>({codes.up, codes.down, codes.right, codes.left}), std::vector<int>({33, 33, 32, 32}));
  EXPECT_EQ(controls.endResults, std::vector<int>{platform::kIdOk});
  EXPECT_FALSE(controls.timers.count(1));
}

TEST_F(CaptureWizardTest, UpAndLeftAreNegatedOnlyForAxesAndHats) {
  wizard.OnInit();
  wizard.OnTimer(1);
  Confirm([](JoyState2& s) { s.rgdwPOV[1] = 0; });           // second hat up: +43
  Confirm([](JoyState2& s) { s.rgdwPOV[1] = 18000; });       // second hat down: -43
  Confirm([](JoyState2& s) { s.rglSlider[0] = -100; });      // -38 as it is
  live.pad.Hold(2, true);                                    // Button 3 held: code 2, kept
  live.pad.Press(0);
  wizard.OnTimer(1);
  const CapturedDirections codes = wizard.Captured();
  EXPECT_EQ(std::vector<int>({codes.up, codes.down, codes.right, codes.left}), std::vector<int>({-43, -43, -38, 2}));
}

TEST_F(CaptureWizardTest, StepWaitsForANewPressWithSomethingHeld) {
  wizard.OnInit();
  wizard.OnTimer(1);
  live.pad.Hold(0, true);  // Button 1 still down from the main dialog
  live.pad.state.lY = -127;
  for (int i = 0; i < 3; ++i) wizard.OnTimer(1);
  EXPECT_EQ(wizard.Step(), 1);
  live.pad.state = Resting();
  live.pad.Press(0);  // nothing else held
  wizard.OnTimer(1);
  EXPECT_EQ(wizard.Step(), 1);
}

TEST_F(CaptureWizardTest, EveryTickTracesStepAndPause) {
  wizard.OnInit();
  wizard.OnTimer(1);
  wizard.OnTimer(1);
  wizard.SetPause(true);
  const int reads = live.pad.stateReads;
  wizard.OnTimer(1);
  EXPECT_EQ(live.pad.stateReads, reads) << "a paused tick does not read";
  EXPECT_EQ(debug.lines, (std::vector<std::string>{"phase=0 Stop=0\n", "phase=1 Stop=0\n", "phase=1 Stop=1\n"}));
}

TEST_F(CaptureWizardTest, WithoutADeviceObjectOnlyTheTraceRuns) {
  padtool::PublishPadDevice(nullptr);
  wizard.OnInit();
  wizard.OnTimer(1);
  EXPECT_EQ(debug.lines.size(), 1u);
  EXPECT_EQ(controls.text[IDC_CAPTURE_INSTRUCTION], "");
  EXPECT_EQ(wizard.Step(), 0);
}

// --- Preview ------------------------------------------------------------------------

MarkerPosition PreviewOfHat(const CapturedDirections& codes, int hat, std::uint32_t angle) {
  JoyState2 state = Resting();
  state.rgdwPOV[hat] = angle;
  return padtool::PreviewPosition(codes, state, 0);
}

TEST(CapturePreview, BothHatsInTheirCapturedOrientation) {
  const CapturedDirections first{41, 41, 40, 40};
  const CapturedDirections second{-43, -43, 42, 42};
  struct Case {
    std::uint32_t angle;
    MarkerPosition position;
  };
  // Neighbouring sectors overlap by 45 degrees.
  const Case cases[] = {{kCentred, {0, 0}},   {0, {0, -127}},      {2249, {0, -127}},   {2250, {127, -127}},
                        {6749, {127, -127}},  {6750, {127, 0}},    {9000, {127, 0}},    {11250, {127, 127}},
                        {15750, {0, 127}},    {18000, {0, 127}},   {20250, {-127, 127}}, {24750, {-127, 0}},
                        {29250, {-127, 0}},   {29251, {-127, -127}}, {33750, {0, -127}}};
  for (const Case& c : cases) {
    EXPECT_EQ(PreviewOfHat(first, 0, c.angle), c.position) << "first hat " << c.angle;
    EXPECT_EQ(PreviewOfHat(second, 1, c.angle), c.position) << "second hat " << c.angle;
    EXPECT_EQ(PreviewOfHat(second, 0, c.angle), (MarkerPosition{})) << "the other hat " << c.angle;
  }
}

TEST(CapturePreview, InvertedHatCodesLookTheOtherWay) {
  EXPECT_EQ(PreviewOfHat({-41, -41, -40, -40}, 0, 0), (MarkerPosition{0, 127}));
  EXPECT_EQ(PreviewOfHat({-41, -41, -40, -40}, 0, 9000), (MarkerPosition{-127, 0}));
  EXPECT_EQ(PreviewOfHat({43, 43, -42, -42}, 1, 0), (MarkerPosition{0, 127}));
  EXPECT_EQ(PreviewOfHat({41, 41, 41, 41}, 0, 0), (MarkerPosition{127, -127})) << "right and left slots of 41";
}

TEST(CapturePreview, AxesTakeTheirRawValueAndButtonsThePush) {
  JoyState2 state = Resting();
  state.lX = -100;
  state.lY = 50;
  state.rglSlider[1] = 20;
  EXPECT_EQ(padtool::PreviewPosition({33, 33, 32, 32}, state, 0), (MarkerPosition{-100, 50}));
  EXPECT_EQ(padtool::PreviewPosition({-33, -33, -39, -39}, state, 0), (MarkerPosition{-20, -50}));
  // Buttons: up, down, right, left; the later slot of a pair overwrites.
  EXPECT_EQ(padtool::PreviewPosition({3, 4, 5, 6}, state, (1u << 3) | (1u << 6)), (MarkerPosition{-127, -127}));
  EXPECT_EQ(padtool::PreviewPosition({3, 4, 5, 6}, state, (1u << 3) | (1u << 4)), (MarkerPosition{0, 127}));
  EXPECT_EQ(padtool::PreviewPosition({-1, 40, 44, 0}, state, ~0ull), (MarkerPosition{-127, 0}))
      << "-1 names no button, 40 looks at a centred hat, and the left slot comes last";
}

// --- Confirmation ------------------------------------------------------------------

class CaptureConfirmTest : public ::testing::Test {
 protected:
  void Open(const CapturedDirections& codes, bool menus) {
    dialog.emplace(controls, drawing, codes, menus, lastDrawn);
    dialog->OnInit();
  }
  std::vector<DrawCall> Texts() const { return drawing.Of(DrawCall::kText); }

  padtool_test::LivePad live;
  fakes::FakeDialogControls controls;
  fakes::FakeWindowDrawing drawing;
  MarkerPosition lastDrawn;
  std::optional<padtool::CaptureConfirmDialog> dialog;
};

TEST_F(CaptureConfirmTest, MarkerIsDrawnOnlyWhenItsPositionChanges) {
  Open({33, 33, 32, 32}, false);
  EXPECT_TRUE(controls.timers.count(1));
  ASSERT_EQ(drawing.pictureCentres.size(), 1u);
  EXPECT_EQ(drawing.pictureCentres[0].x, 76);
  EXPECT_EQ(drawing.pictureCentres[0].y, 108);
  dialog->OnTimer(1);
  EXPECT_TRUE(drawing.calls.empty()) << "at rest the position equals the last drawn one";

  live.pad.state.lX = -127;
  live.pad.state.lY = -5;
  dialog->OnTimer(1);
  ASSERT_EQ(drawing.calls.size(), 4u);
  EXPECT_EQ(drawing.calls[0].kind, DrawCall::kGetContext);
  EXPECT_EQ(drawing.calls[1].kind, DrawCall::kRedrawAll);
  EXPECT_EQ(drawing.calls[1].flags, 0x185u) << "invalidate, erase, update now, children included";
  EXPECT_EQ(drawing.calls[2].kind, DrawCall::kText);
  EXPECT_TRUE(drawing.calls[2].withContext);
  EXPECT_EQ(drawing.calls[2].text, "+");
  EXPECT_EQ(drawing.calls[2].x, 76 - 31) << "-127 / 4 truncates toward zero";
  EXPECT_EQ(drawing.calls[2].y, 108 - 1) << "-5 / 4 truncates toward zero";
  EXPECT_EQ(drawing.calls[3].kind, DrawCall::kReleaseContext);
  dialog->OnTimer(1);
  EXPECT_EQ(drawing.calls.size(), 4u);
  EXPECT_EQ(lastDrawn, (MarkerPosition{-127, -5}));
}

TEST_F(CaptureConfirmTest, LastDrawnPositionCarriesIntoTheNextConfirmation) {
  lastDrawn = {127, 0};
  Open({33, 33, 32, 32}, false);
  dialog->OnTimer(1);
  ASSERT_EQ(Texts().size(), 1u);
  EXPECT_EQ(Texts()[0].x, 76);
  EXPECT_EQ(Texts()[0].y, 108);
}

TEST_F(CaptureConfirmTest, MenusMoveOnlyVerticallyOnADiagonal) {
  for (bool menus : {true, false}) {
    fakes::FakeWindowDrawing fresh;
    MarkerPosition last;
    padtool::CaptureConfirmDialog confirm(controls, fresh, {33, 33, 32, 32}, menus, last);
    live.pad.state.lX = 127;
    live.pad.state.lY = 127;
    confirm.OnTimer(1);
    ASSERT_EQ(fresh.Of(DrawCall::kText).size(), 1u);
    EXPECT_EQ(fresh.Of(DrawCall::kText)[0].x, menus ? 76 : 107) << menus;
    EXPECT_EQ(fresh.Of(DrawCall::kText)[0].y, 139) << menus;
  }
}

TEST_F(CaptureConfirmTest, WithoutAContextThePositionIsRememberedAndNothingIsDrawn) {
  Open({33, 33, 32, 32}, false);
  drawing.contextAvailable = false;
  live.pad.state.lX = 127;
  dialog->OnTimer(1);
  EXPECT_EQ(lastDrawn, (MarkerPosition{127, 0}));
  ASSERT_EQ(drawing.calls.size(), 1u);
  EXPECT_EQ(drawing.calls[0].kind, DrawCall::kGetContext);
  drawing.contextAvailable = true;
  dialog->OnTimer(1);
  EXPECT_TRUE(Texts().empty()) << "the position already counts as drawn";
}

TEST_F(CaptureConfirmTest, NewPressOfButtonOneAcceptsAndTheTickStillDraws) {
  Open({33, 33, 32, 32}, false);
  live.pad.Hold(0, true);
  dialog->OnTimer(1);
  EXPECT_TRUE(controls.endResults.empty()) << "a held Button 1 is no new press";
  live.pad.state.lY = 127;
  live.pad.Press(0);
  dialog->OnTimer(1);
  EXPECT_EQ(controls.endResults, std::vector<int>{platform::kIdOk});
  EXPECT_EQ(Texts().size(), 1u);
}

}  // namespace
