#include "configtool/app/config_dialog.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "configtool/resources/resource.h"
#include "tests/fakes/fake_direct3d8.h"
#include "tests/fakes/fake_html_help.h"
#include "tests/fakes/fake_main_dialog.h"
#include "tests/fakes/fake_registry.h"
#include "tests/fakes/fake_system.h"

namespace {

using configtool::ConfigApp;
using configtool::ConfigDialog;
using fakes::RegValue;
using platform::kIdCancel;
using platform::kIdNo;
using platform::kIdOk;
using platform::kIdYes;

constexpr char kKey[] = "SOFTWARE\\OrbinetUS\\Corvane\\VeldaraTestClient";
constexpr platform::WindowId kProbeWindow = 0x2017;

// Registry that logs key creation and value writes to the shared journal.
class JournalRegistry : public platform::Registry {
 public:
  JournalRegistry(fakes::FakeRegistry& inner, std::vector<std::string>& journal) : inner_(inner), journal_(journal) {}
  long CreateKey(const char* subkey, std::uint32_t access, std::unique_ptr<platform::RegistryKey>* key) override {
    journal_.push_back("CreateKey");
    std::unique_ptr<platform::RegistryKey> innerKey;
    long result = inner_.CreateKey(subkey, access, &innerKey);
    if (result == platform::kErrorSuccess) *key = std::make_unique<Key>(std::move(innerKey), journal_);
    return result;
  }
  long OpenKey(const char* subkey, std::uint32_t access, std::unique_ptr<platform::RegistryKey>* key) override {
    return inner_.OpenKey(subkey, access, key);
  }

 private:
  class Key : public platform::RegistryKey {
   public:
    Key(std::unique_ptr<platform::RegistryKey> inner, std::vector<std::string>& journal)
        : inner_(std::move(inner)), journal_(journal) {}
    long QueryValue(const char* name, std::uint32_t* type, void* data, std::uint32_t* size) override {
      return inner_->QueryValue(name, type, data, size);
    }
    long SetValue(const char* name, std::uint32_t type, const void* data, std::uint32_t size) override {
      journal_.push_back(std::string("SetValue(") + name + ")");
      return inner_->SetValue(name, type, data, size);
    }

   private:
    std::unique_ptr<platform::RegistryKey> inner_;
    std::vector<std::string>& journal_;
  };
  fakes::FakeRegistry& inner_;
  std::vector<std::string>& journal_;
};

class FakeMediaCenterChoice : public configtool::MediaCenterChoice {
 public:
  explicit FakeMediaCenterChoice(std::vector<std::string>& journal) : journal_(journal) {}
  void ClearMediaCenterChoice() override { journal_.push_back("ClearMediaCenterChoice"); }
  void ApplyMediaCenterChoice() override { journal_.push_back("ApplyMediaCenterChoice"); }

 private:
  std::vector<std::string>& journal_;
};

class FakePage : public configtool::ConfigPage {
 public:
  FakePage(int index, std::vector<std::string>& journal, std::vector<bool>& visible, bool misc)
      : index_(index), journal_(journal), visible_(visible), choice_(journal), misc_(misc) {}
  ~FakePage() override { journal_.push_back("DestroyPage(" + std::to_string(index_) + ")"); }
  void Show(bool visible) override {
    journal_.push_back("ShowPage(" + std::to_string(index_) + "," + (visible ? "show" : "hide") + ")");
    visible_[index_] = visible;
  }
  configtool::MediaCenterChoice* MediaCenter() override { return misc_ ? &choice_ : nullptr; }

 private:
  int index_;
  std::vector<std::string>& journal_;
  std::vector<bool>& visible_;
  FakeMediaCenterChoice choice_;
  bool misc_;
};

class FakePageFactory : public configtool::PageFactory {
 public:
  FakePageFactory(std::vector<std::string>& journal) : journal_(journal) {}
  std::vector<bool> visible = std::vector<bool>(configtool::kPageCount, false);
  std::vector<int> failing;
  std::unique_ptr<configtool::ConfigPage> CreatePage(int index) override {
    journal_.push_back("CreatePage(" + std::to_string(index) + ")");
    if (std::find(failing.begin(), failing.end(), index) != failing.end()) return nullptr;
    return std::make_unique<FakePage>(index, journal_, visible, index == configtool::kMiscPage);
  }
  int VisibleCount() const { return static_cast<int>(std::count(visible.begin(), visible.end(), true)); }

 private:
  std::vector<std::string>& journal_;
};

class ConfigDialogTest : public ::testing::Test {
 protected:
  ConfigDialogTest() {
    controls.journal = &journal;
    controls.controlWindows[IDC_D3D_WINDOW] = kProbeWindow;
    controls.strings = {
        {IDS_ABOUTBOX, "About VELDARA Configuration Tool..."},
        {IDS_TAB_GENERAL, "General"},
        {IDS_TAB_SCREEN_SIZE, "Screen Size"},
        {IDS_TAB_TEXTURES, "Textures"},
        {IDS_TAB_EFFECTS, "Effects"},
        {IDS_TAB_SOUND, "Sound"},
        {IDS_TAB_MISC, "Misc."},
        {IDS_HELP_FILE, "VELDARA Config.chm"},
        {IDS_CAPTION, "VELDARA Config"},
    };
    direct3d.journal = &journal;
    direct3d.script.modes = {{640, 480, 60, platform::kD3dFmtX8R8G8B8}, {1024, 768, 60, platform::kD3dFmtX8R8G8B8}};
    direct3d.script.deviceCaps = {0, 2048, 1024, 0xFFFE0101, 0xFFFF0101};
    module.fileName = "C:\\Games\\VELDARA\\VELDARA Config.exe";
    app.regionIndex = 1;
  }

  ConfigDialog& Dialog() {
    if (!dialog) dialog = std::make_unique<ConfigDialog>(app, controls, services);
    return *dialog;
  }
  bool Init() { return Dialog().OnInitDialog(); }
  // Journal entries from a position on, without the Direct3D detail calls.
  std::vector<std::string> Steps(std::size_t from = 0) const {
    static const std::vector<std::string> kDetail = {
        "GetAdapterModeCount", "EnumAdapterModes", "GetAdapterDisplayMode", "CheckDeviceFormat",
        "CheckDepthStencilMatch", "GetDeviceCaps", "CreateDevice", "SetValue"};
    std::vector<std::string> steps;
    for (std::size_t i = from; i < journal.size(); ++i) {
      const std::string& entry = journal[i];
      bool detail = std::any_of(kDetail.begin(), kDetail.end(),
                                [&](const std::string& prefix) { return entry.rfind(prefix, 0) == 0; });
      if (!detail) steps.push_back(entry);
    }
    return steps;
  }
  std::size_t Find(const std::string& entry) const {
    return static_cast<std::size_t>(std::find(journal.begin(), journal.end(), entry) - journal.begin());
  }
  std::vector<int> ShownIds() const {
    std::vector<int> ids;
    for (const auto& shown : controls.shown) ids.push_back(shown.textId);
    return ids;
  }
  void RejectAdapter() {
    direct3d.script.createDevice = [](std::uint32_t, std::uint32_t, std::uint32_t) {
      return platform::kD3dErrNotAvailable;
    };
  }

  std::vector<std::string> journal;
  fakes::FakeMainDialog controls;
  fakes::FakeDirect3D8Runtime direct3d;
  fakes::FakeRegistry registryStore;
  JournalRegistry registry{registryStore, journal};
  fakes::FakeWindowFinder windows;
  fakes::FakeModuleInfo module;
  fakes::FakeHtmlHelp help;
  FakePageFactory pages{journal};
  configtool::ConfigDialogServices services{direct3d, registry, windows, module, help, pages};
  ConfigApp app;
  std::unique_ptr<ConfigDialog> dialog;
};

// --- Construction and initialisation -------------------------------------------------------

TEST_F(ConfigDialogTest, ConstructionInitialisesHtmlHelpWithTheProgramCookie) {
  help.cookieToGive = 0xC00C1E;
  Dialog();
  EXPECT_EQ(help.initializeCalls, 1);
  EXPECT_EQ(app.helpCookie, 0xC00C1Eu);
}

TEST_F(ConfigDialogTest, InitialisationRunsInTheDocumentedOrder) {
  ASSERT_TRUE(Init());
  EXPECT_EQ(Steps(), (std::vector<std::string>{
                         "AppendSystemMenuSeparator",
                         "AppendSystemMenuItem(16,About VELDARA Configuration Tool...)",
                         "DeleteSystemMenuCommand(61488)",
                         "DeleteSystemMenuCommand(61440)",
                         "DeleteSystemMenuCommand(61728)",
                         "SetWindowIcon(big)",
                         "SetWindowIcon(small)",
                         "Direct3DCreate8(220)",
                         "GetAdapterIdentifier(0,2)",
                         "Device::GetDeviceCaps",
                         "CreateKey",
                         "InsertTab(0,General)",
                         "InsertTab(1,Screen Size)",
                         "InsertTab(2,Textures)",
                         "InsertTab(3,Effects)",
                         "InsertTab(4,Sound)",
                         "InsertTab(5,Misc.)",
                         "CreatePage(0)",
                         "CreatePage(1)",
                         "CreatePage(2)",
                         "CreatePage(3)",
                         "CreatePage(4)",
                         "CreatePage(5)",
                         "ShowPage(0,show)",
                         "ShowPage(1,hide)",
                         "ShowPage(2,hide)",
                         "ShowPage(3,hide)",
                         "ShowPage(4,hide)",
                         "ShowPage(5,hide)",
                         "StartTimer(1,100)",
                     }));
  EXPECT_EQ(app.mainWindow, controls.window);
  EXPECT_TRUE(controls.shown.empty());
}

TEST_F(ConfigDialogTest, TabsCarryTheSixCaptionsInTabOrder) {
  ASSERT_TRUE(Init());
  EXPECT_EQ(controls.tabs[IDC_TAB],
            (std::vector<std::string>{"General", "Screen Size", "Textures", "Effects", "Sound", "Misc."}));
  EXPECT_EQ(pages.VisibleCount(), 1);
  EXPECT_TRUE(pages.visible[0]);
}

TEST_F(ConfigDialogTest, EmptyAboutStringAddsNoMenuEntryButStillDeletesTheCommands) {
  controls.strings.erase(IDS_ABOUTBOX);
  ASSERT_TRUE(Init());
  EXPECT_TRUE(controls.systemMenuAppended.empty());
  EXPECT_EQ(controls.systemMenuDeleted, (std::vector<unsigned>{0xF030, 0xF000, 0xF120}));
}

TEST_F(ConfigDialogTest, WithoutSystemMenuNothingIsAppendedOrDeleted) {
  controls.hasSystemMenu = false;
  ASSERT_TRUE(Init());
  EXPECT_TRUE(controls.systemMenuAppended.empty());
  EXPECT_TRUE(controls.systemMenuDeleted.empty());
  EXPECT_EQ(controls.iconsSet, (std::vector<bool>{true, false}));
}

TEST_F(ConfigDialogTest, ReadOnlyStoreWarnsWithMessage113AfterCreatingIt) {
  registryStore.deniedAccess = {platform::kKeyAllAccess};
  ASSERT_TRUE(Init());
  ASSERT_EQ(controls.shown.size(), 1u);
  EXPECT_EQ(controls.shown[0].textId, IDS_READ_ONLY_WARNING);
  EXPECT_EQ(controls.shown[0].captionId, IDS_CAPTION);
  EXPECT_EQ(controls.shown[0].style, 0x30u);
  EXPECT_LT(Find("CreateKey"), Find("ShowMessage(113)"));
  EXPECT_LT(Find("ShowMessage(113)"), Find("InsertTab(0,General)"));
}

TEST_F(ConfigDialogTest, MissingKeyGivesNoMessageAtStart) {
  registryStore.deniedAccess = {platform::kKeyAllAccess, platform::kKeyRead};
  ASSERT_TRUE(Init());
  EXPECT_TRUE(controls.shown.empty());
  EXPECT_EQ(app.store->AccessMode(), configtool::kAccessNone);
}

TEST_F(ConfigDialogTest, FirstStartWritesTheTwentyTwoDefaults) {
  ASSERT_TRUE(Init());
  EXPECT_EQ(registryStore.Key(kKey).size(), 22u);
  EXPECT_EQ(registryStore.Find(kKey, "0031")->AsDword(), 0x3BC49BA6u);
}

TEST_F(ConfigDialogTest, HardwareProbeThatSucceedsIsTheOnlyAttempt) {
  ASSERT_TRUE(Init());
  EXPECT_EQ(std::count(journal.begin(), journal.end(), "Direct3DCreate8(220)"), 1);
  ASSERT_FALSE(direct3d.createdWith.empty());
  EXPECT_EQ(direct3d.createdWith[0].deviceWindow, kProbeWindow);
  EXPECT_EQ(direct3d.createdWith[0].backBufferWidth, 640u);
  EXPECT_EQ(direct3d.createdWith[0].backBufferHeight, 480u);
  ASSERT_NE(app.renderCaps, nullptr);
  EXPECT_EQ(app.renderCaps->MaxTextureHeight(), 1024u);
  EXPECT_EQ(app.deviceProbe->ModeCount(), 2u);
}

TEST_F(ConfigDialogTest, HardwareFailureDestroysTheProbeThenTriesSoftware) {
  direct3d.script.createDevice = [](std::uint32_t, std::uint32_t, std::uint32_t behavior) {
    return behavior == platform::kD3dCreateSoftwareVertexProcessing ? platform::kD3dOk : platform::kD3dErrNotAvailable;
  };
  direct3d.script.identifier = {0x8086, 0x2582};
  ASSERT_TRUE(Init());
  std::vector<std::string> steps = Steps();
  auto first = std::find(steps.begin(), steps.end(), "Direct3DCreate8(220)");
  ASSERT_NE(first, steps.end());
  EXPECT_EQ(*(first + 1), "Release") << "the failed hardware probe released its Direct3D object";
  EXPECT_EQ(*(first + 2), "Direct3DCreate8(220)");
  EXPECT_EQ(direct3d.liveObjects, 1);
  EXPECT_NE(app.store, nullptr);
  EXPECT_TRUE(app.deviceProbe->SoftwareVPAccepted());
}

struct RejectCase {
  const char* name;
  bool runtimePresent;
  std::uint32_t vendor;
  std::uint32_t device;
  bool softwareWorks;
};

class RejectedAdapter : public ConfigDialogTest, public ::testing::WithParamInterface<RejectCase> {};

TEST_P(RejectedAdapter, DialogRunsWithoutStoreTabsPagesOrTimer) {
  const RejectCase& c = GetParam();
  direct3d.script.createSucceeds = c.runtimePresent;
  direct3d.script.identifier = {c.vendor, c.device};
  bool softwareWorks = c.softwareWorks;
  direct3d.script.createDevice = [softwareWorks](std::uint32_t, std::uint32_t, std::uint32_t behavior) {
    return softwareWorks && behavior == platform::kD3dCreateSoftwareVertexProcessing ? platform::kD3dOk
                                                                                     : platform::kD3dErrNotAvailable;
  };
  EXPECT_FALSE(Init());
  EXPECT_EQ(app.store, nullptr);
  EXPECT_EQ(app.renderCaps, nullptr);
  EXPECT_TRUE(controls.tabs.empty());
  EXPECT_EQ(Find("CreatePage(0)"), journal.size());
  EXPECT_TRUE(controls.timers.empty());
  EXPECT_TRUE(controls.shown.empty());
  EXPECT_EQ(registryStore.createCalls, 0);
  ASSERT_NE(app.deviceProbe, nullptr) << "the failed probe stays current until the dialog ends";
}

INSTANTIATE_TEST_SUITE_P(Table, RejectedAdapter,
                         ::testing::Values(RejectCase{"no runtime", false, 0x8086, 0x2582, false},
                                           RejectCase{"no device at all", true, 0x8086, 0x2582, false},
                                           RejectCase{"software on a listed Intel device", true, 0x8086, 0x3582, true},
                                           RejectCase{"software on another vendor", true, 0x1002, 0x2582, true}),
                         [](const ::testing::TestParamInfo<RejectCase>& info) {
                           std::string name = info.param.name;
                           std::replace(name.begin(), name.end(), ' ', '_');
                           return name;
                         });

TEST_F(ConfigDialogTest, RejectedAdapterStateDefaultDoesNothingAndOkClosesAtOnce) {
  RejectAdapter();
  ASSERT_FALSE(Init());
  app.settings.SetSettingsChanged(true);
  Dialog().OnDefault();
  EXPECT_TRUE(controls.shown.empty());
  EXPECT_EQ(controls.invalidations, 0);
  Dialog().OnOk();
  EXPECT_EQ(controls.endResults, std::vector<int>{kIdOk});
  EXPECT_TRUE(controls.shown.empty());
  EXPECT_EQ(registryStore.setCalls, 0);
}

TEST_F(ConfigDialogTest, RejectedAdapterStateCancelClosesAtOnceAndHelpAndAboutWork) {
  RejectAdapter();
  ASSERT_FALSE(Init());
  Dialog().OnHelp();
  EXPECT_EQ(help.displayed.size(), 1u);
  EXPECT_TRUE(Dialog().OnSysCommand(0x10));
  EXPECT_EQ(controls.modalDialogs, std::vector<int>{IDD_ABOUTBOX});
  Dialog().OnCancel();
  EXPECT_EQ(controls.endResults, std::vector<int>{kIdCancel});
  EXPECT_TRUE(controls.shown.empty());
}

TEST_F(ConfigDialogTest, WithoutTheProbeControlThereIsNoProbeButTheStoreAndPagesExist) {
  controls.controlWindows.clear();
  ASSERT_TRUE(Init());
  EXPECT_TRUE(direct3d.calls.empty());
  EXPECT_EQ(app.deviceProbe, nullptr);
  EXPECT_EQ(app.renderCaps, nullptr);
  EXPECT_NE(app.store, nullptr);
  EXPECT_EQ(pages.VisibleCount(), 1);
}

TEST_F(ConfigDialogTest, PageThatCannotBeCreatedIsSkipped) {
  pages.failing = {configtool::kMiscPage};
  ASSERT_TRUE(Init());
  EXPECT_EQ(Dialog().Page(configtool::kMiscPage), nullptr);
  app.settings.SetSettingsChanged(true);
  controls.answers = {kIdYes};
  Dialog().OnOk();
  EXPECT_EQ(Find("ApplyMediaCenterChoice"), journal.size());
  EXPECT_EQ(ShownIds(), (std::vector<int>{IDS_SAVE_SETTINGS, IDS_SETTINGS_SAVED}));
}

TEST_F(ConfigDialogTest, DestructionReleasesCapsAndProbeThenThePagesInTabOrder) {
  ASSERT_TRUE(Init());
  std::size_t from = journal.size();
  Dialog().OnDestroy();
  EXPECT_EQ(Steps(from), (std::vector<std::string>{"Device::Release", "Release", "DestroyPage(0)", "DestroyPage(1)",
                                                   "DestroyPage(2)", "DestroyPage(3)", "DestroyPage(4)",
                                                   "DestroyPage(5)"}));
  EXPECT_EQ(app.renderCaps, nullptr);
  EXPECT_EQ(app.deviceProbe, nullptr);
  EXPECT_NE(app.store, nullptr) << "the store outlives the dialog";
  EXPECT_EQ(registryStore.openKeys, 1);
}

// --- Tab switching ---------------------------------------------------------------------------

TEST_F(ConfigDialogTest, SwitchingTabsShowsExactlyOnePage) {
  ASSERT_TRUE(Init());
  for (int target : {3, 1, 5, 0, 2, 4}) {
    EXPECT_EQ(Dialog().OnTabSelChanging(), 0);
    controls.tabSelection = target;
    EXPECT_EQ(Dialog().OnTabSelChange(), 0);
    EXPECT_EQ(pages.VisibleCount(), 1) << "after switching to " << target;
    EXPECT_TRUE(pages.visible[target]);
  }
}

TEST_F(ConfigDialogTest, SelectionOutsideTheSixTabsDoesNothing) {
  ASSERT_TRUE(Init());
  std::size_t from = journal.size();
  for (int selection : {-1, 6, 100}) {
    controls.tabSelection = selection;
    EXPECT_EQ(Dialog().OnTabSelChanging(), 0);
    EXPECT_EQ(Dialog().OnTabSelChange(), 0);
  }
  EXPECT_EQ(journal.size(), from);
}

// --- Default ---------------------------------------------------------------------------------

TEST_F(ConfigDialogTest, DefaultDeclinedChangesNothing) {
  ASSERT_TRUE(Init());
  app.settings.SetInt(configtool::OverlayWidth, 1024);
  controls.answers = {kIdNo};
  Dialog().OnDefault();
  EXPECT_EQ(ShownIds(), std::vector<int>{IDS_RETURN_TO_DEFAULTS});
  EXPECT_EQ(controls.shown[0].style, 0x24u);
  EXPECT_EQ(app.settings.Int(configtool::OverlayWidth), 1024);
  EXPECT_FALSE(app.settings.SettingsChanged());
  EXPECT_EQ(controls.invalidations, 0);
}

TEST_F(ConfigDialogTest, DefaultConfirmedResetsClearsTheChoiceMarksAndRepaints) {
  ASSERT_TRUE(Init());
  app.settings.SetInt(configtool::OverlayWidth, 1024);
  app.settings.SetInt(configtool::kSetting31, 5);
  int writes = registryStore.setCalls;
  std::size_t from = journal.size();
  controls.answers = {kIdYes};
  Dialog().OnDefault();
  EXPECT_EQ(Steps(from), (std::vector<std::string>{"ShowMessage(109)", "ClearMediaCenterChoice", "InvalidateDialog",
                                                   "ShowMessage(108)"}))
      << "the pages are told to repaint before the confirmation is shown";
  EXPECT_EQ(controls.shown[1].style, 0x40u);
  EXPECT_EQ(app.settings.Int(configtool::OverlayWidth), 640);
  EXPECT_EQ(app.settings.Bits(configtool::kSetting31), 0x3BC49BA6u);
  EXPECT_TRUE(app.settings.SettingsChanged());
  EXPECT_EQ(controls.invalidations, 1);
  EXPECT_EQ(registryStore.setCalls, writes) << "Default writes nothing";
}

TEST_F(ConfigDialogTest, DefaultThenDecliningToSaveLeavesTheRegistryUnchanged) {
  registryStore.Key(kKey)["0001"] = RegValue::Dword(1280);
  ASSERT_TRUE(Init());
  auto before = registryStore.Key(kKey);
  controls.answers = {kIdYes, kIdOk, kIdNo};
  Dialog().OnDefault();
  Dialog().OnOk();
  EXPECT_EQ(ShownIds(), (std::vector<int>{IDS_RETURN_TO_DEFAULTS, IDS_DEFAULTS_RETURNED, IDS_SAVE_SETTINGS}));
  EXPECT_EQ(controls.endResults, std::vector<int>{kIdOk});
  EXPECT_EQ(registryStore.Find(kKey, "0001")->AsDword(), 1280u);
  EXPECT_EQ(registryStore.Key(kKey).size(), before.size());
}

TEST_F(ConfigDialogTest, DefaultThenOkAndYesWritesEveryDefault) {
  auto& key = registryStore.Key(kKey);
  key["0001"] = RegValue::Dword(1280);
  key["0029"] = RegValue::Dword(20);
  key["0031"] = RegValue::Dword(0);
  ASSERT_TRUE(Init());
  controls.answers = {kIdYes, kIdOk, kIdYes};
  Dialog().OnDefault();
  Dialog().OnOk();
  EXPECT_EQ(ShownIds(), (std::vector<int>{IDS_RETURN_TO_DEFAULTS, IDS_DEFAULTS_RETURNED, IDS_SAVE_SETTINGS,
                                          IDS_SETTINGS_SAVED}));
  for (const auto& setting : configtool::kSettingsTable) {
    char name[configtool::kValueNameSize];
    ASSERT_TRUE(configtool::FormatValueName(setting.number, name));
    const RegValue* value = registryStore.Find(kKey, name);
    ASSERT_NE(value, nullptr) << name;
    EXPECT_EQ(value->type, platform::kRegDword) << name;
    EXPECT_EQ(value->AsDword(), setting.defaultBits) << name;
  }
}

// --- SaveChanges -----------------------------------------------------------------------------

struct SaveCase {
  const char* name;
  bool changed;
  bool store;
  bool silent;
  int answer;       // answer to message 110, when asked
  bool saveWorks;
  bool asks;
  bool applies;     // Media Center choice applied and Save called
  int message;      // 107, 106 or 0
  int result;
};

class SaveChangesTable : public ConfigDialogTest, public ::testing::WithParamInterface<SaveCase> {};

TEST_P(SaveChangesTable, FollowsTheDecisionTable) {
  const SaveCase& c = GetParam();
  ASSERT_TRUE(Init());
  if (!c.saveWorks) registryStore.failingWrites = {"0017"};
  if (!c.store) app.store.reset();
  app.settings.SetSettingsChanged(c.changed);
  app.settings.SetInt(configtool::BumpMapping, 1);
  controls.answers = {c.answer};
  std::size_t from = journal.size();

  EXPECT_EQ(Dialog().SaveChanges(c.silent), c.result);

  std::vector<int> expectedShown;
  if (c.asks) expectedShown.push_back(IDS_SAVE_SETTINGS);
  if (c.message != 0) expectedShown.push_back(c.message);
  EXPECT_EQ(ShownIds(), expectedShown);
  if (c.asks) EXPECT_EQ(controls.shown[0].style, 0x23u);
  if (c.message == IDS_SETTINGS_SAVED) EXPECT_EQ(controls.shown.back().style, 0x40u);
  if (c.message == IDS_SAVE_FAILED) EXPECT_EQ(controls.shown.back().style, 0x30u);

  std::vector<std::string> steps(journal.begin() + static_cast<std::ptrdiff_t>(from), journal.end());
  auto apply = std::find(steps.begin(), steps.end(), "ApplyMediaCenterChoice");
  auto firstWrite = std::find(steps.begin(), steps.end(), "SetValue(0000)");
  if (c.applies) {
    ASSERT_NE(apply, steps.end());
    ASSERT_NE(firstWrite, steps.end());
    EXPECT_LT(apply, firstWrite) << "the Media Center choice is applied before the settings are written";
    EXPECT_EQ(std::count(steps.begin(), steps.end(), "SetValue(0034)"), 1);
  } else {
    EXPECT_EQ(apply, steps.end());
    EXPECT_EQ(firstWrite, steps.end());
  }
  EXPECT_TRUE(controls.endResults.empty()) << "SaveChanges never closes the dialog itself";
}

INSTANTIATE_TEST_SUITE_P(
    Table, SaveChangesTable,
    ::testing::Values(
        SaveCase{"NothingChanged", false, true, false, kIdYes, true, false, false, 0, kIdYes},
        SaveCase{"NothingChangedSilent", false, true, true, kIdYes, true, false, false, 0, kIdYes},
        SaveCase{"NoStore", true, false, false, kIdYes, true, false, false, 0, kIdYes},
        SaveCase{"Yes", true, true, false, kIdYes, true, true, true, IDS_SETTINGS_SAVED, kIdYes},
        SaveCase{"YesButSaveFails", true, true, false, kIdYes, false, true, true, IDS_SAVE_FAILED, kIdYes},
        SaveCase{"No", true, true, false, kIdNo, true, true, false, 0, kIdNo},
        SaveCase{"Cancel", true, true, false, kIdCancel, true, true, false, 0, kIdCancel},
        SaveCase{"OtherAnswerCountsAsYes", true, true, false, kIdOk, true, true, true, IDS_SETTINGS_SAVED, kIdOk},
        SaveCase{"Silent", true, true, true, kIdNo, true, false, true, 0, kIdYes},
        SaveCase{"SilentSaveFails", true, true, true, kIdNo, false, false, true, 0, kIdYes}),
    [](const ::testing::TestParamInfo<SaveCase>& info) { return std::string(info.param.name); });

TEST_F(ConfigDialogTest, ReadOnlyStoreSaveEndsInMessage106AndStillCloses) {
  registryStore.deniedAccess = {platform::kKeyAllAccess};
  ASSERT_TRUE(Init());
  app.settings.SetSettingsChanged(true);
  controls.answers = {kIdOk, kIdYes};
  Dialog().OnOk();
  EXPECT_EQ(ShownIds(), (std::vector<int>{IDS_READ_ONLY_WARNING, IDS_SAVE_SETTINGS, IDS_SAVE_FAILED}));
  EXPECT_EQ(controls.endResults, std::vector<int>{kIdOk});
}

// --- OK and Cancel ---------------------------------------------------------------------------

TEST_F(ConfigDialogTest, OkAndCancelWithoutChangesCloseWithoutAsking) {
  ASSERT_TRUE(Init());
  Dialog().OnOk();
  Dialog().OnCancel();
  EXPECT_TRUE(controls.shown.empty());
  EXPECT_EQ(controls.endResults, (std::vector<int>{kIdOk, kIdCancel}));
}

TEST_F(ConfigDialogTest, CancellingTheQuestionKeepsTheDialogOpenWithTheChange) {
  ASSERT_TRUE(Init());
  app.settings.SetInt(configtool::WindowedMode, 1);
  app.settings.SetSettingsChanged(true);
  int writes = registryStore.setCalls;
  controls.answers = {kIdCancel, kIdCancel};
  Dialog().OnOk();
  Dialog().OnCancel();
  EXPECT_TRUE(controls.endResults.empty());
  EXPECT_EQ(app.settings.Int(configtool::WindowedMode), 1);
  EXPECT_TRUE(app.settings.SettingsChanged());
  EXPECT_EQ(registryStore.setCalls, writes);
}

TEST_F(ConfigDialogTest, AnsweringNoClosesWithoutWriting) {
  ASSERT_TRUE(Init());
  app.settings.SetInt(configtool::WindowedMode, 1);
  app.settings.SetSettingsChanged(true);
  controls.answers = {kIdNo};
  Dialog().OnCancel();
  EXPECT_EQ(controls.endResults, std::vector<int>{kIdCancel});
  EXPECT_EQ(registryStore.Find(kKey, "0034")->AsDword(), 0u);
}

TEST_F(ConfigDialogTest, AnsweringYesWritesShows107AndCloses) {
  ASSERT_TRUE(Init());
  app.settings.SetInt(configtool::WindowedMode, 1);
  app.settings.SetSettingsChanged(true);
  controls.answers = {kIdYes, kIdOk};
  Dialog().OnCancel();
  EXPECT_EQ(ShownIds(), (std::vector<int>{IDS_SAVE_SETTINGS, IDS_SETTINGS_SAVED}));
  EXPECT_EQ(controls.endResults, std::vector<int>{kIdCancel});
  EXPECT_EQ(registryStore.Find(kKey, "0034")->AsDword(), 1u);
}

// --- Game watch ------------------------------------------------------------------------------

TEST_F(ConfigDialogTest, GameWatchLooksForTheGameThenTheViewerAndOtherwiseDoesNothing) {
  ASSERT_TRUE(Init());
  windows.windows = {{"VdraClass", "VELDARA Test"}, {"Other", "VELDARA"}};
  Dialog().OnTimer(configtool::kGameWatchTimer);
  EXPECT_EQ(windows.lookups, 2);
  EXPECT_TRUE(controls.shown.empty());
  EXPECT_TRUE(controls.endResults.empty());
  EXPECT_EQ(controls.timers.count(configtool::kGameWatchTimer), 1u);
}

struct WatchCase {
  const char* name;
  const char* windowClass;
  const char* title;
};

class GameWatch : public ConfigDialogTest, public ::testing::WithParamInterface<WatchCase> {};

TEST_P(GameWatch, FoundWindowStopsTheTimerWarnsSavesSilentlyAndCloses) {
  ASSERT_TRUE(Init());
  app.settings.SetInt(configtool::MipMapping, 1);
  app.settings.SetSettingsChanged(true);
  windows.windows = {{GetParam().windowClass, GetParam().title}};
  std::size_t from = journal.size();
  controls.answers = {kIdOk};
  Dialog().OnTimer(configtool::kGameWatchTimer);
  EXPECT_TRUE(controls.timers.empty());
  EXPECT_EQ(ShownIds(), std::vector<int>{IDS_GAME_RUNNING});
  EXPECT_EQ(controls.shown[0].style, 0x30u);
  EXPECT_EQ(controls.endResults, std::vector<int>{kIdCancel});
  EXPECT_EQ(registryStore.Find(kKey, "0000")->AsDword(), 1u);
  std::vector<std::string> steps = Steps(from);
  EXPECT_EQ(steps, (std::vector<std::string>{"StopTimer(1)", "ShowMessage(143)", "ApplyMediaCenterChoice",
                                             "EndDialog(2)"}));
}

INSTANTIATE_TEST_SUITE_P(Table, GameWatch,
                         ::testing::Values(WatchCase{"Game", "VdraClass", "VELDARA"},
                                           WatchCase{"Viewer", "OrbinetUS", "Orbinet"},
                                           WatchCase{"UntitledViewer", "OrbinetUS", ""}),
                         [](const ::testing::TestParamInfo<WatchCase>& info) { return std::string(info.param.name); });

TEST_F(ConfigDialogTest, GameWatchStopsTheTimerOfTheMessageReceived) {
  ASSERT_TRUE(Init());
  controls.timers.insert(7);
  windows.windows = {{"OrbinetUS", ""}};
  Dialog().OnTimer(7);
  EXPECT_EQ(controls.timers.count(7), 0u);
  EXPECT_EQ(controls.timers.count(configtool::kGameWatchTimer), 1u);
}

TEST_F(ConfigDialogTest, GameWatchWithoutChangesWritesNothing) {
  ASSERT_TRUE(Init());
  int writes = registryStore.setCalls;
  windows.windows = {{"VdraClass", "VELDARA"}};
  Dialog().OnTimer(configtool::kGameWatchTimer);
  EXPECT_EQ(ShownIds(), std::vector<int>{IDS_GAME_RUNNING});
  EXPECT_EQ(registryStore.setCalls, writes);
  EXPECT_EQ(controls.endResults, std::vector<int>{kIdCancel});
}

TEST_F(ConfigDialogTest, GameWatchSaveFailureShowsNothingMore) {
  registryStore.deniedAccess = {platform::kKeyAllAccess};
  ASSERT_TRUE(Init());
  app.settings.SetSettingsChanged(true);
  windows.windows = {{"VdraClass", "VELDARA"}};
  Dialog().OnTimer(configtool::kGameWatchTimer);
  EXPECT_EQ(ShownIds(), (std::vector<int>{IDS_READ_ONLY_WARNING, IDS_GAME_RUNNING}));
}

// --- Help, About, minimised icon -------------------------------------------------------------

TEST_F(ConfigDialogTest, HelpOpensTheHelpFileBesideTheProgram) {
  ASSERT_TRUE(Init());
  Dialog().OnHelp();
  ASSERT_EQ(help.displayed.size(), 1u);
  EXPECT_EQ(help.displayed[0].first, controls.window);
  EXPECT_EQ(help.displayed[0].second, "C:\\Games\\VELDARA\\VELDARA Config.chm");
}

TEST_F(ConfigDialogTest, HelpDoesNothingWithoutTheProgramFileName) {
  ASSERT_TRUE(Init());
  module.failFileName = true;
  Dialog().OnHelp();
  module.failFileName = false;
  module.hasModule = false;
  Dialog().OnHelp();
  EXPECT_TRUE(help.displayed.empty());
}

TEST_F(ConfigDialogTest, AboutEntryOpensDialog100AndOtherCommandsGoToDefaultHandling) {
  ASSERT_TRUE(Init());
  EXPECT_TRUE(Dialog().OnSysCommand(0x10));
  EXPECT_TRUE(Dialog().OnSysCommand(0x1F));
  EXPECT_FALSE(Dialog().OnSysCommand(0x20));
  EXPECT_FALSE(Dialog().OnSysCommand(0xF060));  // SC_CLOSE
  EXPECT_FALSE(Dialog().OnSysCommand(0xF020));  // SC_MINIMIZE
  EXPECT_EQ(controls.modalDialogs, (std::vector<int>{IDD_ABOUTBOX, IDD_ABOUTBOX}));
}

TEST(CentredIconOrigin, CentresWithTheRoundingOfTheMinimisedPaint) {
  struct Case {
    int width, height, iconWidth, iconHeight, x, y;
  };
  const std::vector<Case> cases = {
      {36, 36, 32, 32, 2, 2}, {33, 34, 32, 32, 1, 1}, {160, 28, 32, 32, 64, -1}, {32, 32, 32, 32, 0, 0},
      {0, 0, 32, 32, -15, -15},
  };
  for (const Case& c : cases) {
    configtool::IconOrigin origin = configtool::CentredIconOrigin(c.width, c.height, c.iconWidth, c.iconHeight);
    EXPECT_EQ(origin.x, c.x) << c.width << "x" << c.height;
    EXPECT_EQ(origin.y, c.y) << c.width << "x" << c.height;
  }
}

}  // namespace
