#include "configtool/pages/screen_size_page.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/unit/configtool/page_test_support.h"

namespace {

using pagetest::Caps;
using pagetest::Size;

class ScreenSizePageTest : public ::testing::Test {
 protected:
  void Paint(const std::vector<Size>& modes, const platform::D3dCaps& caps) {
    state.CreateStore();
    state.Probe(modes, caps);
    page.OnPaint();
  }
  std::vector<std::string>& Items(int id) { return state.controls.comboItems[id]; }
  std::string Selected(int id) { return state.controls.SelectedItem(id); }

  pagetest::PageState state;
  configtool::ScreenSizePage page{state.app, state.controls};
  configtool::SettingValues& settings = state.app.settings;
};

const std::vector<Size> kModes = {{640, 480}, {800, 600}, {1024, 768}};

TEST_F(ScreenSizePageTest, StoredOverlayInTheModeListIsSelectedAndThe3dLcdSwitchForcedOffAndHidden) {
  state.CreateStore();
  settings.SetInt(configtool::OverlayWidth, 1024);
  settings.SetInt(configtool::OverlayHeight, 768);
  settings.SetInt(configtool::Lcd3dMode, 1);
  state.Probe(kModes, Caps(2048, 2048));
  page.OnPaint();
  EXPECT_EQ(Items(IDC_OVERLAY_RESOLUTION), (std::vector<std::string>{"640 x 480", "800 x 600", "1024 x 768"}));
  EXPECT_EQ(Selected(IDC_OVERLAY_RESOLUTION), "1024 x 768");
  EXPECT_EQ(settings.Int(configtool::OverlayWidth), 1024);
  EXPECT_EQ(settings.Int(configtool::Lcd3dMode), 0);
  EXPECT_FALSE(state.controls.visible[IDC_LCD_3D_MODE]);
  EXPECT_FALSE(state.controls.checked[IDC_LCD_3D_MODE]);
  EXPECT_FALSE(settings.SettingsChanged());
}

TEST_F(ScreenSizePageTest, StoredOverlayMissingBecomes640x480WithItemZeroAndNoPendingChange) {
  state.CreateStore();
  settings.SetInt(configtool::OverlayWidth, 1600);
  settings.SetInt(configtool::OverlayHeight, 1200);
  state.Probe({{800, 600}, {1024, 768}}, Caps(2048, 2048));
  page.OnPaint();
  EXPECT_EQ(state.controls.GetComboSelection(IDC_OVERLAY_RESOLUTION), 0);
  EXPECT_EQ(settings.Int(configtool::OverlayWidth), 640);
  EXPECT_EQ(settings.Int(configtool::OverlayHeight), 480);
  EXPECT_FALSE(settings.SettingsChanged());
}

TEST_F(ScreenSizePageTest, WithoutRestrictionTheSquaresComeFirstThenEveryFittingModeDuplicatesKept) {
  state.CreateStore();
  settings.SetInt(configtool::BackgroundWidth, 333);  // not offered: item 1 shown, value kept
  state.Probe({{640, 480}, {800, 600}, {1024, 768}, {1024, 1024}}, Caps(2048, 2048));
  page.OnPaint();
  EXPECT_EQ(Items(IDC_BACKGROUND_RESOLUTION),
            (std::vector<std::string>{"256 x 256", "512 x 512", "1024 x 1024", "2048 x 2048", "640 x 480",
                                      "800 x 600", "1024 x 768", "1024 x 1024"}));
  EXPECT_EQ(Selected(IDC_BACKGROUND_RESOLUTION), "512 x 512");
  EXPECT_EQ(settings.Int(configtool::BackgroundWidth), 333);
  EXPECT_TRUE(state.controls.IsEnabled(IDC_BACKGROUND_RESOLUTION));
}

TEST_F(ScreenSizePageTest, MaxTexture1024StopsTheSquaresAndDropsWiderOrTallerModes) {
  Paint({{640, 480}, {1024, 768}, {1280, 1024}, {800, 1200}}, Caps(1024, 1024));
  EXPECT_EQ(Items(IDC_BACKGROUND_RESOLUTION),
            (std::vector<std::string>{"256 x 256", "512 x 512", "1024 x 1024", "640 x 480", "1024 x 768"}));
}

TEST_F(ScreenSizePageTest, EitherRestrictionFlagOffersOnlyTheSquares) {
  for (std::uint32_t flag : {platform::kD3dPTextureCapsPow2, platform::kD3dPTextureCapsSquareOnly}) {
    pagetest::PageState fresh;
    configtool::ScreenSizePage restricted(fresh.app, fresh.controls);
    fresh.CreateStore();
    fresh.Probe(kModes, Caps(2048, 2048, flag));
    restricted.OnPaint();
    EXPECT_EQ(fresh.controls.comboItems[IDC_BACKGROUND_RESOLUTION],
              (std::vector<std::string>{"256 x 256", "512 x 512", "1024 x 1024", "2048 x 2048"}))
        << flag;
  }
}

TEST_F(ScreenSizePageTest, OnlySize256FittingLeavesNoSelectionUnlessItIsStored) {
  Paint({{640, 480}}, Caps(256, 512));
  EXPECT_EQ(Items(IDC_BACKGROUND_RESOLUTION), std::vector<std::string>{"256 x 256"});
  EXPECT_EQ(state.controls.GetComboSelection(IDC_BACKGROUND_RESOLUTION), -1);
  settings.SetInt(configtool::BackgroundWidth, 256);
  settings.SetInt(configtool::BackgroundHeight, 256);
  page.OnPaint();
  EXPECT_EQ(state.controls.GetComboSelection(IDC_BACKGROUND_RESOLUTION), 0);
}

TEST_F(ScreenSizePageTest, TheChoiceListStopsAt1024Entries) {
  std::vector<Size> modes;
  for (std::uint32_t i = 0; i < 1100; ++i) modes.push_back({640 + i, 480});
  Paint(modes, Caps(4096, 4096));
  ASSERT_EQ(Items(IDC_BACKGROUND_RESOLUTION).size(), 1024u);
  EXPECT_EQ(Items(IDC_BACKGROUND_RESOLUTION).back(), "1659 x 480");
  state.controls.comboSelection[IDC_BACKGROUND_RESOLUTION] = 1023;
  page.OnCommand(IDC_BACKGROUND_RESOLUTION, platform::kCbnSelChange);
  EXPECT_EQ(settings.Int(configtool::BackgroundWidth), 1659);
}

TEST_F(ScreenSizePageTest, WithoutModeListBothCombosStayEmptyAndTheBackgroundDisabled) {
  state.CreateStore();
  page.OnPaint();
  EXPECT_TRUE(Items(IDC_OVERLAY_RESOLUTION).empty());
  EXPECT_TRUE(state.controls.IsEnabled(IDC_OVERLAY_RESOLUTION));
  EXPECT_FALSE(state.controls.IsEnabled(IDC_BACKGROUND_RESOLUTION));
  page.OnCommand(IDC_OVERLAY_RESOLUTION, platform::kCbnSelChange);
  EXPECT_FALSE(settings.SettingsChanged());
}

TEST_F(ScreenSizePageTest, SelectionsWriteTheSizesAndMarkAChange) {
  Paint(kModes, Caps(2048, 2048));
  state.controls.comboSelection[IDC_BACKGROUND_RESOLUTION] = 6;
  page.OnCommand(IDC_BACKGROUND_RESOLUTION, platform::kCbnSelChange);
  EXPECT_EQ(settings.Int(configtool::BackgroundWidth), 1024);
  EXPECT_EQ(settings.Int(configtool::BackgroundHeight), 768);
  EXPECT_TRUE(settings.SettingsChanged());

  state.controls.comboSelection[IDC_OVERLAY_RESOLUTION] = 7;  // beyond the modes
  page.OnCommand(IDC_OVERLAY_RESOLUTION, platform::kCbnSelChange);
  EXPECT_EQ(state.controls.GetComboSelection(IDC_OVERLAY_RESOLUTION), 0);
  EXPECT_EQ(settings.Int(configtool::OverlayWidth), 640);
}

}  // namespace
