#include "configtool/pages/general_page.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "configtool/pages/gamma_mapping.h"
#include "configtool/pages/run_and_wait.h"
#include "tests/fakes/fake_shell.h"
#include "tests/fakes/fake_system_services.h"
#include "tests/unit/configtool/page_test_support.h"

namespace {

using configtool::GammaFromPosition;
using configtool::GammaLabel;
using configtool::PositionFromGamma;

std::uint32_t Bits(float value) {
  std::uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

struct GammaRow {
  int position;
  std::uint32_t storedBits;
  const char* label;
  int paintedBack;
};

TEST(GammaMapping, TrackbarPositionsStoreTheRoundedProductAndPaintBack) {
  const std::vector<GammaRow> rows = {
      {0, 0xBF800000, "-1.0", 0},   // -1.0
      {50, 0x00000000, "0.0", 50},  // +0.0
      {55, 0x3DCCCCCC, "0.1", 54},  // 0.0999999940..., the tie of 5 x 0.02f rounded to even
      {100, 0x3F800000, "1.0", 100},
  };
  for (const GammaRow& row : rows) {
    float gamma = GammaFromPosition(row.position);
    EXPECT_EQ(Bits(gamma), row.storedBits) << row.position;
    EXPECT_EQ(GammaLabel(gamma), row.label) << row.position;
    EXPECT_EQ(PositionFromGamma(gamma), row.paintedBack) << row.position;
  }
}

TEST(GammaMapping, StoredValuesOutsideTheRangeShowAtTheNearerEnd) {
  EXPECT_EQ(PositionFromGamma(2.5f), 100);
  EXPECT_EQ(GammaLabel(2.5f), "2.5");
  EXPECT_EQ(PositionFromGamma(-3.0f), 0);
  EXPECT_EQ(PositionFromGamma(-1.01f), 0);
  EXPECT_EQ(PositionFromGamma(std::numeric_limits<float>::infinity()), 100);
  EXPECT_EQ(PositionFromGamma(std::numeric_limits<float>::quiet_NaN()), 0);
  EXPECT_EQ(Bits(GammaFromPosition(200)), 0x3F800000u);
  EXPECT_EQ(Bits(GammaFromPosition(-10)), 0xBF800000u);
}

class GeneralPageTest : public ::testing::Test {
 protected:
  GeneralPageTest() {
    state.app.mainWindow = kMainWindow;
    state.controls.strings[IDS_CAPTION] = "VELDARA Config";
  }

  static constexpr platform::WindowId kMainWindow = 0x4242;
  pagetest::PageState state;
  fakes::FakeShell shell;
  fakes::FakeProcesses processes;
  fakes::FakeThreadMessages messages;
  configtool::GeneralPage page{state.app, state.controls,
                               configtool::GeneralPageServices{state.registry, shell, processes, messages}};
  fakes::FakePageControls& controls = state.controls;
  configtool::SettingValues& settings = state.app.settings;
};

TEST_F(GeneralPageTest, PaintSetsBoxesRangeWithoutRedrawThenPositionAndLabel) {
  state.CreateStore();
  settings.SetInt(configtool::MipMapping, 1);
  settings.SetFloat(configtool::GammaBase, 2.5f);
  page.OnPaint();
  EXPECT_TRUE(controls.checked[IDC_MIP_MAPPING]);
  EXPECT_FALSE(controls.checked[IDC_WINDOWED_MODE]);
  EXPECT_EQ(controls.calls, (std::vector<std::string>{"SetTrackbarMin(1026,0,0)", "SetTrackbarMax(1026,100,0)",
                                                      "SetTrackbarPosition(1026,100,1)"}));
  EXPECT_EQ(controls.text[IDC_GAMMA_VALUE], "2.5");
  EXPECT_FLOAT_EQ(settings.Float(configtool::GammaBase), 2.5f);  // shown, not changed
  EXPECT_FALSE(settings.SettingsChanged());
}

TEST_F(GeneralPageTest, EveryScrollStoresTheGammaAndLabelAndTheNextPaintShowsIt) {
  state.CreateStore();
  page.OnPaint();
  controls.trackbars[IDC_GAMMA].position = 55;
  page.OnScroll(IDC_GAMMA);
  EXPECT_EQ(settings.Bits(configtool::GammaBase), 0x3DCCCCCCu);
  EXPECT_EQ(controls.text[IDC_GAMMA_VALUE], "0.1");
  EXPECT_TRUE(settings.SettingsChanged());
  page.OnPaint();
  EXPECT_EQ(controls.trackbars[IDC_GAMMA].position, 54);

  controls.trackbars[IDC_GAMMA].position = 0;
  page.OnScroll(IDC_GAMMA);
  EXPECT_EQ(settings.Bits(configtool::GammaBase), 0xBF800000u);
  EXPECT_EQ(controls.text[IDC_GAMMA_VALUE], "-1.0");
}

TEST_F(GeneralPageTest, WindowedModeNoUnchecksWithoutChangeYesKeepsItAndUncheckingNeverAsks) {
  state.CreateStore();
  controls.checked[IDC_WINDOWED_MODE] = true;
  controls.answers = {platform::kIdNo};
  page.OnCommand(IDC_WINDOWED_MODE, platform::kBnClicked);
  ASSERT_EQ(controls.shown.size(), 1u);
  EXPECT_EQ(controls.shown[0].textId, IDS_WINDOWED_WARNING);
  EXPECT_EQ(controls.shown[0].captionId, IDS_CAPTION);
  EXPECT_EQ(controls.shown[0].style, platform::kMbYesNo | platform::kMbIconQuestion);
  EXPECT_FALSE(controls.checked[IDC_WINDOWED_MODE]);
  EXPECT_EQ(settings.Int(configtool::WindowedMode), 0);
  EXPECT_FALSE(settings.SettingsChanged());

  controls.checked[IDC_WINDOWED_MODE] = true;
  controls.answers = {platform::kIdYes};
  page.OnCommand(IDC_WINDOWED_MODE, platform::kBnClicked);
  EXPECT_TRUE(controls.checked[IDC_WINDOWED_MODE]);
  EXPECT_EQ(settings.Int(configtool::WindowedMode), 1);
  EXPECT_TRUE(settings.SettingsChanged());

  settings.SetSettingsChanged(false);
  controls.checked[IDC_WINDOWED_MODE] = false;
  page.OnCommand(IDC_WINDOWED_MODE, platform::kBnClicked);
  EXPECT_EQ(controls.shown.size(), 2u);
  EXPECT_EQ(settings.Int(configtool::WindowedMode), 0);
  EXPECT_TRUE(settings.SettingsChanged());
}

TEST_F(GeneralPageTest, GamepadSettingsRunsTheToolHiddenAndKeepsTheMainWindowHiddenUntilItEnds) {
  processes.queriesWhileRunning = 3;
  messages.queue = {0x0113 /* WM_TIMER */, platform::kWmPaint};
  page.OnCommand(IDC_GAMEPAD_SETTINGS, platform::kBnClicked);
  ASSERT_EQ(processes.starts.size(), 1u);
  EXPECT_EQ(processes.starts[0].commandLine, "VdraPadConfig.exe");
  EXPECT_EQ(processes.starts[0].showCommand, platform::kSwHide);
  EXPECT_EQ(processes.waits, (std::vector<std::uint32_t>{100, 100, 100, 100}));
  EXPECT_EQ(messages.calls, (std::vector<std::string>{"Take(275)", "Show(16962,0)", "Take(15)", "Repaint(16962)",
                                                      "Show(16962,0)", "Show(16962,5)"}));
  EXPECT_TRUE(processes.open.empty());  // process and thread handles closed
}

TEST_F(GeneralPageTest, RunAndWaitDoesNothingWhenTheStartFailsAndStopsOnAnUnreadableExitCode) {
  processes.startSucceeds = false;
  EXPECT_EQ(configtool::RunAndWait("VdraPadConfig.exe", processes, messages, kMainWindow), 0);
  EXPECT_TRUE(processes.waits.empty());
  EXPECT_TRUE(messages.calls.empty());

  processes.startSucceeds = true;
  processes.exitCodeFails = true;
  EXPECT_EQ(configtool::RunAndWait("VdraPadConfig.exe", processes, messages, kMainWindow), 0);
  EXPECT_EQ(messages.calls, (std::vector<std::string>{"Show(16962,5)"}));
  EXPECT_TRUE(processes.open.empty());
}

}  // namespace
