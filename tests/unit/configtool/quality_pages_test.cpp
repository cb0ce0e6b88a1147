// Textures, Effects and Sound pages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "configtool/pages/effects_page.h"
#include "configtool/pages/sound_page.h"
#include "configtool/pages/textures_page.h"
#include "tests/unit/configtool/page_test_support.h"

namespace {

using pagetest::Caps;

TEST(TexturesPage, ShowsTheStoredIndexesAndKeepsANumberThatIsNoItem) {
  pagetest::PageState state;
  configtool::TexturesPage page(state.app, state.controls);
  state.CreateStore();
  page.OnPaint();
  EXPECT_EQ(state.controls.SelectedItem(IDC_TEXTURE_COMPRESSION), "Low");
  EXPECT_EQ(state.controls.SelectedItem(IDC_MAP_COMPRESSION), "Uncompressed");

  state.app.settings.SetInt(configtool::TextureCompression, 5);
  page.OnPaint();
  EXPECT_EQ(state.controls.GetComboSelection(IDC_TEXTURE_COMPRESSION), -1);
  EXPECT_EQ(state.app.settings.Int(configtool::TextureCompression), 5);
  EXPECT_FALSE(state.app.settings.SettingsChanged());

  state.controls.SetComboSelection(IDC_TEXTURE_COMPRESSION, 2);
  page.OnCommand(IDC_TEXTURE_COMPRESSION, platform::kCbnSelChange);
  state.controls.SetComboSelection(IDC_MAP_COMPRESSION, 0);
  page.OnCommand(IDC_MAP_COMPRESSION, platform::kCbnSelChange);
  EXPECT_EQ(state.app.settings.Int(configtool::TextureCompression), 2);
  EXPECT_EQ(state.app.settings.Int(configtool::MapCompression), 0);
  EXPECT_TRUE(state.app.settings.SettingsChanged());
}

struct BumpRow {
  const char* device;
  bool probed;
  std::uint32_t vertexShader;
  std::uint32_t pixelShader;
  bool enabled;
};

TEST(EffectsPage, BumpMappingNeedsBothShaders11AndShowsTheStoredChoiceEitherWay) {
  const std::vector<BumpRow> rows = {
      {"vs 1.1, ps 1.1", true, 0xFFFE0101, 0xFFFF0101, true},
      {"vs 1.1, ps 1.0", true, 0xFFFE0101, 0xFFFF0100, false},
      {"vs 1.0, ps 1.4", true, 0xFFFE0100, 0xFFFF0104, false},
      {"no capabilities", false, 0, 0, false},
  };
  for (const BumpRow& row : rows) {
    pagetest::PageState state;
    configtool::EffectsPage page(state.app, state.controls);
    state.CreateStore();
    if (row.probed) state.Probe({{640, 480}}, Caps(2048, 2048, 0, row.vertexShader, row.pixelShader));
    state.app.settings.SetInt(configtool::BumpMapping, 1);
    page.OnPaint();
    EXPECT_EQ(state.controls.IsEnabled(IDC_BUMP_MAPPING), row.enabled) << row.device;
    EXPECT_TRUE(state.controls.checked[IDC_BUMP_MAPPING]) << row.device;
    EXPECT_EQ(state.app.settings.Int(configtool::BumpMapping), 1) << row.device;
    EXPECT_EQ(state.controls.SelectedItem(IDC_ENVIRONMENTAL_ANIMATION), "Normal") << row.device;
  }
}

class SoundPageTest : public ::testing::Test {
 protected:
  SoundPageTest() { state.CreateStore(); }
  int Position() { return state.controls.trackbars[IDC_SOUND_EFFECT_COUNT].position; }
  std::string Label() { return state.controls.text[IDC_SOUND_EFFECT_VALUE]; }
  void MoveTo(int position) {
    state.controls.trackbars[IDC_SOUND_EFFECT_COUNT].position = position;
    page.OnScroll(IDC_SOUND_EFFECT_COUNT);
  }

  pagetest::PageState state;
  configtool::SoundPage page{state.app, state.controls};
  configtool::SettingValues& settings = state.app.settings;
};

TEST_F(SoundPageTest, StoredCountsOutsideTheRangeShowAtTheEndsAndAreKept) {
  page.OnPaint();
  EXPECT_TRUE(state.controls.checked[IDC_SOUND_ENABLED]);
  EXPECT_EQ(state.controls.calls,
            (std::vector<std::string>{"SetTrackbarMin(1038,0,0)", "SetTrackbarMax(1038,8,0)",
                                      "SetTrackbarPosition(1038,0,1)"}));
  EXPECT_EQ(Label(), "12");
  settings.SetInt(configtool::SoundEffectCount, 25);
  page.OnPaint();
  EXPECT_EQ(Position(), 8);
  EXPECT_EQ(Label(), "20");
  EXPECT_EQ(settings.Int(configtool::SoundEffectCount), 25);
  settings.SetInt(configtool::SoundEffectCount, -3);
  page.OnPaint();
  EXPECT_EQ(Position(), 0);
  EXPECT_EQ(Label(), "12");
  EXPECT_EQ(settings.Int(configtool::SoundEffectCount), -3);
  EXPECT_FALSE(settings.SettingsChanged());
}

TEST_F(SoundPageTest, TheTrackbarEndsStore20And12) {
  page.OnPaint();
  MoveTo(8);
  EXPECT_EQ(settings.Int(configtool::SoundEffectCount), 20);
  EXPECT_EQ(Label(), "20");
  EXPECT_TRUE(settings.SettingsChanged());
  MoveTo(0);
  EXPECT_EQ(settings.Int(configtool::SoundEffectCount), 12);
  EXPECT_EQ(Label(), "12");
}

}  // namespace
