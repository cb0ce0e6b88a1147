// Fuzzes the six pages of VELDARA Config: any 22 stored values (the gamma
// base as any bit pattern, NaN and infinities included), any display-mode
// list and device capabilities, or none of them, painted; then an overlay
// and a background selection of any index, the gamma and sound trackbars at
// any position, and a second paint. Every documented outcome is checked; a
// mismatch traps.
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "configtool/pages/config_page.h"
#include "configtool/pages/page_logic.h"
#include "configtool/pages/screen_size_page.h"
#include "configtool/pages/sound_page.h"
#include "configtool/probe/render_caps.h"
#include "tests/fakes/fake_shell.h"
#include "tests/fakes/fake_system_services.h"
#include "tests/unit/configtool/fuzz_input.h"
#include "tests/unit/configtool/page_test_support.h"

namespace {

using configtool::SettingValues;
using fuzz::Check;

constexpr char kSettingsKey[] = "SOFTWARE\\OrbinetUS\\Corvane\\VeldaraTestClient";
constexpr char kGameFolder[] = "C:\\Games\\Demo";

// Gamma bits a paint must survive, besides whatever the fuzzer makes up.
constexpr std::uint32_t kGammaPatterns[] = {0x7FC00000, 0xFFC00001, 0x7F800000, 0xFF800000, 0x80000000,
                                            0x00000001, 0x3F800001, 0xBF800001, 0x7F7FFFFF, 0x3DCCCCCC};

using Slots = std::array<std::uint32_t, configtool::kSettingSlots>;

Slots Snapshot(const SettingValues& values) {
  Slots slots{};
  for (int i = 0; i < configtool::kSettingSlots; ++i) slots[i] = values.Bits(i);
  return slots;
}

std::int32_t Int(const Slots& slots, int number) { return static_cast<std::int32_t>(slots[number]); }

float Float(std::uint32_t bits) {
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

std::string GammaText(float gamma) {
  char text[64];
  std::snprintf(text, sizeof text, "%1.1f", static_cast<double>(gamma));
  return text;
}

std::string CountText(int count) {
  char text[16];
  std::snprintf(text, sizeof text, "%2d", count);
  return text;
}

int Clamp(std::int64_t value, int low, int high) { return value < low ? low : value > high ? high : static_cast<int>(value); }

// The combo index a stored number selects: itself when it is an item, none otherwise.
int ItemOf(std::int32_t value, int items) { return value >= 0 && value < items ? value : -1; }

struct Probed {
  const configtool::DeviceProbe* modes = nullptr;  // null without a mode list
  const configtool::RenderCaps* caps = nullptr;
};

std::vector<pagetest::Size> BackgroundChoices(const Probed& probed) {
  std::vector<pagetest::Size> choices;
  if (probed.caps == nullptr) return choices;
  const configtool::RenderCaps& caps = *probed.caps;
  for (std::uint32_t side : configtool::kPowerOfTwoSizes) {
    if (side <= caps.MaxTextureWidth() && side <= caps.MaxTextureHeight()) choices.push_back({side, side});
  }
  if (!caps.TexturePow2() && !caps.TextureSidesEqual()) {
    for (std::uint32_t i = 0; i < probed.modes->ModeCount(); ++i) {
      const platform::D3dDisplayMode& mode = probed.modes->Mode(i);
      bool fits = mode.width <= caps.MaxTextureWidth() && mode.height <= caps.MaxTextureHeight();
      if (fits && choices.size() < configtool::kBackgroundChoiceCapacity) choices.push_back({mode.width, mode.height});
    }
  }
  return choices;
}

struct Pages {
  pagetest::PageState state;
  fakes::FakeShell shell;
  fakes::FakeFiles files;
  fakes::FakeSystemInfo system;
  fakes::FakeModuleResources resources;
  fakes::FakeProcesses processes;
  fakes::FakeThreadMessages messages;
  std::vector<fakes::FakePageControls> controls;
  std::vector<configtool::PageLogic> logic;
  Probed probed;
  bool linkExists = false;

  void Create() {
    controls.assign(configtool::kPageCount, state.controls);
    configtool::PageServices services{state.registry, shell, files, system, resources, processes, messages};
    for (int i = 0; i < configtool::kPageCount; ++i) {
      logic.push_back(configtool::CreatePageLogic(i, state.app, controls[i], services));
    }
  }
  void PaintAll() {
    for (auto& page : logic) page.logic->OnPaint();
  }
  bool IsMediaCenterSystem() const {
    return system.versionSucceeds && system.version.majorVersion == 5 &&
           system.metrics.count(platform::kSmMediaCenter) && system.metrics.at(platform::kSmMediaCenter) != 0;
  }
};

void CheckGeneral(fakes::FakePageControls& c, const Slots& before) {
  Check(c.checked[IDC_MIP_MAPPING] == (before[configtool::MipMapping] != 0));
  Check(c.checked[IDC_WINDOWED_MODE] == (before[configtool::WindowedMode] != 0));
  const fakes::Trackbar& bar = c.trackbars[IDC_GAMMA];
  Check(bar.minimum == 0 && bar.maximum == 100);
  float gamma = Float(before[configtool::GammaBase]);
  double exact = (static_cast<double>(gamma) + 1.0) * 50.0;
  int expected = std::isnan(gamma) || exact <= 0.0 ? 0 : exact >= 100.0 ? 100 : static_cast<int>(exact);
  Check(bar.position == expected);
  Check(c.text[IDC_GAMMA_VALUE] == GammaText(gamma));
}

void CheckScreenSize(fakes::FakePageControls& c, const Probed& probed, const Slots& before, const Slots& after) {
  Check(Int(after, configtool::Lcd3dMode) == 0 && !c.visible[IDC_LCD_3D_MODE] && !c.checked[IDC_LCD_3D_MODE]);
  Check(c.IsEnabled(IDC_OVERLAY_RESOLUTION));
  Check(after[configtool::BackgroundWidth] == before[configtool::BackgroundWidth] &&
        after[configtool::BackgroundHeight] == before[configtool::BackgroundHeight]);
  if (probed.modes == nullptr) {
    Check(c.comboItems[IDC_OVERLAY_RESOLUTION].empty() && c.comboItems[IDC_BACKGROUND_RESOLUTION].empty());
    Check(!c.IsEnabled(IDC_BACKGROUND_RESOLUTION));
    Check(after[configtool::OverlayWidth] == before[configtool::OverlayWidth] &&
          after[configtool::OverlayHeight] == before[configtool::OverlayHeight]);
    return;
  }
  const configtool::DeviceProbe& modes = *probed.modes;
  const std::vector<std::string>& overlay = c.comboItems[IDC_OVERLAY_RESOLUTION];
  Check(overlay.size() == modes.ModeCount());
  int match = -1;
  for (std::uint32_t i = 0; i < modes.ModeCount(); ++i) {
    Check(overlay[i] == configtool::ResolutionText(modes.Mode(i).width, modes.Mode(i).height));
    if (match < 0 && modes.Mode(i).width == before[configtool::OverlayWidth] &&
        modes.Mode(i).height == before[configtool::OverlayHeight]) {
      match = static_cast<int>(i);
    }
  }
  if (match >= 0) {
    Check(c.GetComboSelection(IDC_OVERLAY_RESOLUTION) == match);
    Check(after[configtool::OverlayWidth] == before[configtool::OverlayWidth] &&
          after[configtool::OverlayHeight] == before[configtool::OverlayHeight]);
  } else {
    Check(c.GetComboSelection(IDC_OVERLAY_RESOLUTION) == (modes.ModeCount() > 0 ? 0 : -1));
    Check(Int(after, configtool::OverlayWidth) == 640 && Int(after, configtool::OverlayHeight) == 480);
  }

  Check(c.IsEnabled(IDC_BACKGROUND_RESOLUTION));
  std::vector<pagetest::Size> choices = BackgroundChoices(probed);
  const std::vector<std::string>& background = c.comboItems[IDC_BACKGROUND_RESOLUTION];
  Check(background.size() == choices.size());
  for (std::size_t i = 0; i < choices.size(); ++i) {
    Check(background[i] == configtool::ResolutionText(choices[i].width, choices[i].height));
  }
  // Item 1, unless an entry holds the stored size.
  int selected = choices.size() > 1 ? 1 : -1;
  for (std::size_t i = 0; i < choices.size(); ++i) {
    if (choices[i].width == before[configtool::BackgroundWidth] &&
        choices[i].height == before[configtool::BackgroundHeight]) {
      selected = static_cast<int>(i);
      break;
    }
  }
  Check(c.GetComboSelection(IDC_BACKGROUND_RESOLUTION) == selected);
}

void CheckQualityPages(Pages& pages, const Slots& before) {
  fakes::FakePageControls& textures = pages.controls[configtool::kTexturesPage];
  Check(textures.GetComboSelection(IDC_TEXTURE_COMPRESSION) == ItemOf(Int(before, configtool::TextureCompression), 3));
  Check(textures.GetComboSelection(IDC_MAP_COMPRESSION) == ItemOf(Int(before, configtool::MapCompression), 2));

  fakes::FakePageControls& effects = pages.controls[configtool::kEffectsPage];
  const configtool::RenderCaps* caps = pages.probed.caps;
  Check(effects.IsEnabled(IDC_BUMP_MAPPING) == (caps != nullptr && caps->VertexShader11() && caps->PixelShader11()));
  Check(effects.checked[IDC_BUMP_MAPPING] == (before[configtool::BumpMapping] != 0));
  Check(effects.GetComboSelection(IDC_ENVIRONMENTAL_ANIMATION) ==
        ItemOf(Int(before, configtool::EnvironmentalAnimation), 3));

  fakes::FakePageControls& sound = pages.controls[configtool::kSoundPage];
  int count = Clamp(Int(before, configtool::SoundEffectCount), 12, 20);
  Check(sound.checked[IDC_SOUND_ENABLED] == (before[configtool::SoundEnabled] != 0));
  const fakes::Trackbar& bar = sound.trackbars[IDC_SOUND_EFFECT_COUNT];
  Check(bar.minimum == 0 && bar.maximum == 8 && bar.position == count - 12);
  Check(sound.text[IDC_SOUND_EFFECT_VALUE] == CountText(count));

  fakes::FakePageControls& misc = pages.controls[configtool::kMiscPage];
  Check(misc.checked[IDC_OPENING_MOVIE] == (before[configtool::OpeningMovie] != 0));
  Check(misc.checked[IDC_HARDWARE_MOUSE_CURSOR] == (before[configtool::HardwareMouseCursor] != 0));
  Check(misc.checked[IDC_SIMPLE_CHARACTER_CREATION] == (before[configtool::SimpleCharacterCreation] != 0));
  bool mediaCenter = pages.IsMediaCenterSystem();
  Check(misc.IsEnabled(IDC_ADD_TO_MEDIA_CENTER) == mediaCenter);
  Check(misc.checked[IDC_ADD_TO_MEDIA_CENTER] == (mediaCenter && pages.linkExists));
}

void CheckPainted(Pages& pages, const Slots& before) {
  const SettingValues& settings = pages.state.app.settings;
  Slots after = Snapshot(settings);
  Check(!settings.SettingsChanged());
  for (int i = 0; i < configtool::kSettingSlots; ++i) {
    bool corrected = i == configtool::OverlayWidth || i == configtool::OverlayHeight || i == configtool::Lcd3dMode;
    Check(corrected || after[i] == before[i]);
  }
  CheckGeneral(pages.controls[configtool::kGeneralPage], before);
  CheckScreenSize(pages.controls[configtool::kScreenSizePage], pages.probed, before, after);
  CheckQualityPages(pages, before);
}

// S1 or S2 with any selected index over a list of count entries.
void SelectAny(Pages& pages, int comboId, std::int32_t index, std::size_t count, int widthSetting,
               const std::vector<pagetest::Size>& entries) {
  SettingValues& settings = pages.state.app.settings;
  fakes::FakePageControls& c = pages.controls[configtool::kScreenSizePage];
  Slots before = Snapshot(settings);
  bool changedBefore = settings.SettingsChanged();
  c.comboSelection[comboId] = index;
  Check(pages.logic[configtool::kScreenSizePage].logic->OnCommand(comboId, platform::kCbnSelChange));
  Slots after = Snapshot(settings);
  if (index < 0 || count == 0) {
    Check(after == before && settings.SettingsChanged() == changedBefore);
    return;
  }
  std::size_t used = static_cast<std::size_t>(index) < count ? static_cast<std::size_t>(index) : 0;
  if (static_cast<std::size_t>(index) >= count) Check(c.GetComboSelection(comboId) == 0);
  Check(after[widthSetting] == entries[used].width && after[widthSetting + 1] == entries[used].height);
  Check(settings.SettingsChanged());
}

void MoveTrackbars(Pages& pages, fuzz::Input& in) {
  SettingValues& settings = pages.state.app.settings;
  fakes::FakePageControls& general = pages.controls[configtool::kGeneralPage];
  general.SetTrackbarPosition(IDC_GAMMA, static_cast<std::int32_t>(in.U32()), true);
  int position = general.trackbars[IDC_GAMMA].position;
  pages.logic[configtool::kGeneralPage].logic->OnScroll(IDC_GAMMA);
  float gamma = settings.Float(configtool::GammaBase);
  Check(gamma >= -1.0f && gamma <= 1.0f && std::fabs(gamma - (position - 50) / 50.0) < 1e-6);
  Check(general.text[IDC_GAMMA_VALUE] == GammaText(gamma));

  fakes::FakePageControls& sound = pages.controls[configtool::kSoundPage];
  sound.SetTrackbarPosition(IDC_SOUND_EFFECT_COUNT, static_cast<std::int32_t>(in.U32()), true);
  int count = sound.trackbars[IDC_SOUND_EFFECT_COUNT].position + 12;
  pages.logic[configtool::kSoundPage].logic->OnScroll(IDC_SOUND_EFFECT_COUNT);
  Check(settings.Int(configtool::SoundEffectCount) == count && count >= 12 && count <= 20);
  Check(sound.text[IDC_SOUND_EFFECT_VALUE] == CountText(count));
  Check(settings.SettingsChanged());
}

void ScriptProbe(fuzz::Input& in, fakes::FakeDirect3D8Script& script) {
  // A list longer than the background choices hold is a unit test's: the
  // probe's de-duplication of a thousand modes would slow every run.
  std::uint8_t count = in.Byte() % 48;
  for (int i = 0; i < count; ++i) {
    std::uint16_t width = in.U16();
    std::uint16_t height = in.U16();
    std::uint8_t kind = in.Byte();
    // Mostly sizes near the kept range, some of them repeated; sometimes any size and format.
    bool any = kind & 0x80;
    script.modes.push_back({any ? width : 640u + (width % 24) * 64u, any ? height : 480u + (height % 24) * 64u,
                            kind & 0x40 ? 75u : 60u, any ? kind & 0x3Fu : (kind & 1 ? 21u : 22u)});
  }
  std::uint8_t shape = in.Byte();
  platform::D3dCaps& caps = script.deviceCaps;
  caps.textureCaps = shape & 0x10 ? in.U32() : (shape & 0x22);
  caps.maxTextureWidth = shape & 0x20 ? in.U32() : 128u << (in.Byte() % 6);
  caps.maxTextureHeight = shape & 0x40 ? in.U32() : 128u << (in.Byte() % 6);
  caps.vertexShaderVersion = shape & 0x80 ? in.U32() : 0xFFFE0100u + in.Byte() % 4;
  caps.pixelShaderVersion = shape & 0x80 ? in.U32() : 0xFFFF0100u + in.Byte() % 4;
  if (shape & 0x01) script.deviceCapsResult = platform::kD3dErrInvalidCall;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input in(data, size);
  Pages pages;
  pagetest::PageState& state = pages.state;

  std::uint8_t setup = in.Byte();
  auto& key = state.registry.Key(kSettingsKey);
  for (const auto& setting : configtool::kSettingsTable) {
    char name[configtool::kValueNameSize];
    configtool::FormatValueName(setting.number, name);
    std::uint32_t bits = in.U32();
    if (setting.number == configtool::GammaBase && (setup & 0x08)) bits = kGammaPatterns[bits % std::size(kGammaPatterns)];
    key[name] = fakes::RegValue::Dword(bits);
  }

  // Probe: none, failed (a mode list and no capabilities), or succeeded with or without them.
  int probe = setup & 3;
  if (probe != 0) {
    ScriptProbe(in, state.direct3d.script);
    if (probe == 1) state.direct3d.script.createDevice = [](auto...) { return platform::kD3dErrNotAvailable; };
    bool ran = configtool::CreateDeviceProbe(state.app.deviceProbe, state.direct3d, 0x2017, 640, 480, false);
    Check(!ran || probe != 1);
    if (probe == 2 && ran) state.app.renderCaps = std::make_unique<configtool::RenderCaps>(state.app.deviceProbe->Device());
    pages.probed.modes = state.app.deviceProbe->HasModeList() ? state.app.deviceProbe.get() : nullptr;
    pages.probed.caps = state.app.renderCaps.get();
  }

  std::uint8_t system = in.Byte();
  pages.system.version.majorVersion = system & 7;
  pages.system.versionSucceeds = !(system & 0x08);
  pages.system.metrics[platform::kSmMediaCenter] = (system >> 4) & 1;
  if (system & 0x20) state.registry.Key("SOFTWARE\\OrbinetUS\\InstallFolder")["0015"] = fakes::RegValue::String(kGameFolder);
  if (system & 0x40) pages.files.files[std::string(kGameFolder) + "\\ORBBOOT.EXE.LNK"] = {};
  pages.linkExists = (system & 0x60) == 0x60;

  bool store = !(setup & 0x04);
  if (store) state.CreateStore();
  pages.Create();
  Slots loaded = Snapshot(state.app.settings);
  pages.PaintAll();
  if (!store) {
    // Without a store painting leaves every control as the resource made it.
    for (fakes::FakePageControls& c : pages.controls) {
      Check(c.checked.empty() && c.enabled.empty() && c.visible.empty() && c.text.empty() && c.trackbars.empty() &&
            c.calls.empty() && c.comboSelection.empty());
    }
    Check(Snapshot(state.app.settings) == loaded);
    return 0;
  }
  CheckPainted(pages, loaded);

  std::int32_t overlayIndex = static_cast<std::int32_t>(in.U32());
  std::int32_t backgroundIndex = static_cast<std::int32_t>(in.U32());
  if (setup & 0x10) {
    overlayIndex = overlayIndex % 8 - 1;
    backgroundIndex = backgroundIndex % 8 - 1;
  }
  std::vector<pagetest::Size> modes;
  for (std::uint32_t i = 0; pages.probed.modes && i < pages.probed.modes->ModeCount(); ++i) {
    modes.push_back({pages.probed.modes->Mode(i).width, pages.probed.modes->Mode(i).height});
  }
  SelectAny(pages, IDC_OVERLAY_RESOLUTION, overlayIndex, modes.size(), configtool::OverlayWidth, modes);
  std::vector<pagetest::Size> choices = pages.probed.modes ? BackgroundChoices(pages.probed) : std::vector<pagetest::Size>{};
  SelectAny(pages, IDC_BACKGROUND_RESOLUTION, backgroundIndex, choices.size(), configtool::BackgroundWidth, choices);
  MoveTrackbars(pages, in);

  Slots edited = Snapshot(state.app.settings);
  state.app.settings.SetSettingsChanged(false);
  pages.PaintAll();
  CheckPainted(pages, edited);
  return 0;
}
