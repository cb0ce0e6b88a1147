// VELDARA Config.exe under Wine with Wine's own Direct3D 8 on Xvfb: first
// start, tabs and pages, Default and the save flow, single instance, the game
// watch, a Direct3D 8 runtime that gives no object, and the start-up time.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "resource.h"
#include "tests/e2e/configtool/config_session.h"
#include "tests/e2e/driver/driver.h"

namespace {

using namespace configtest;

struct Setting {
  const char* name;
  DWORD defaultValue;
};

const std::vector<Setting> kDefaults = {
    {"0000", 0},   {"0001", 640}, {"0002", 480}, {"0003", 512}, {"0004", 512},        {"0007", 1},
    {"0011", 1},   {"0017", 0},   {"0018", 1},   {"0019", 1},   {"0020", 1},          {"0021", 0},
    {"0022", 1},   {"0023", 0},   {"0024", 0},   {"0028", 0},   {"0029", 12},         {"0030", 0},
    {"0031", 0x3BC49BA6},         {"0032", 0},   {"0033", 0},   {"0034", 0},
};

void SeedNonDefaults() {
  e2e::WriteDword(kKey, "0001", 1280);
  e2e::WriteDword(kKey, "0029", 20);
  e2e::WriteDword(kKey, "0031", 0);
  e2e::WriteString(kKey, "0005", "kept");
}

void ExpectAllDefaults() {
  for (const Setting& setting : kDefaults) ExpectValue(setting.name, setting.defaultValue);
}

constexpr char kNullD3d8Program[] = "VELDARA Config null d3d8.exe";

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

E2E_CASE(FirstStartWritesTheTwentyTwoDefaults) {
  e2e::Process tool = e2e::Start(ToolPath());
  HWND dialog = WaitForMainDialog(tool);
  std::vector<std::string> names = e2e::ValueNames(kKey);
  std::sort(names.begin(), names.end());
  std::vector<std::string> expected;
  for (const Setting& setting : kDefaults) expected.emplace_back(setting.name);
  E2E_CHECK(names == expected);
  ExpectAllDefaults();
  e2e::Click(dialog, IDOK);
  ExpectSilentExit(tool);
}

E2E_CASE(SixTabsAndExactlyOnePageAfterEachSwitch) {
  e2e::Process tool = e2e::Start(ToolPath());
  HWND dialog = WaitForMainDialog(tool);
  HWND tab = e2e::Control(dialog, IDC_TAB);
  E2E_CHECK_EQ(Joined(e2e::TabItems(tab)), std::string("General|Screen Size|Textures|Effects|Sound|Misc."));
  E2E_CHECK_EQ(Pages(tab, false).size(), 6u);
  E2E_CHECK_EQ(e2e::TabSelection(tab), 0);
  std::vector<HWND> visible = Pages(tab, true);
  E2E_REQUIRE(visible.size() == 1);
  E2E_CHECK_EQ(PageIndex(visible[0]), 0);
  E2E_CHECK(!e2e::IsVisible(dialog, IDC_D3D_WINDOW));

  for (int target : {1, 2, 3, 4, 5, 0, 3}) {
    e2e::SelectTab(tab, target);
    e2e::WaitUntil([&] { return Pages(tab, true).size() == 1 && PageIndex(Pages(tab, true)[0]) == target; },
                   "only page " + std::to_string(target) + " to be visible");
  }
  e2e::Click(dialog, IDOK);
  ExpectSilentExit(tool);
}

E2E_CASE(PagesShowTheirComboItems) {
  e2e::Process tool = e2e::Start(ToolPath());
  HWND dialog = WaitForMainDialog(tool);
  HWND tab = e2e::Control(dialog, IDC_TAB);
  HWND textures = nullptr;
  HWND effects = nullptr;
  for (HWND page : Pages(tab, false)) {
    if (PageIndex(page) == 2) textures = page;
    if (PageIndex(page) == 3) effects = page;
  }
  E2E_REQUIRE(textures != nullptr && effects != nullptr);
  E2E_CHECK_EQ(Joined(e2e::ComboItems(textures, IDC_TEXTURE_COMPRESSION)), std::string("High|Low|Uncompressed"));
  E2E_CHECK_EQ(Joined(e2e::ComboItems(textures, IDC_MAP_COMPRESSION)), std::string("Compressed|Uncompressed"));
  E2E_CHECK_EQ(Joined(e2e::ComboItems(effects, IDC_ENVIRONMENTAL_ANIMATION)), std::string("Off|Normal|Smooth"));
  e2e::Click(dialog, IDOK);
  ExpectSilentExit(tool);
}

E2E_CASE(OkWithoutChangesAsksNothing) {
  e2e::Process tool = e2e::Start(ToolPath());
  HWND dialog = WaitForMainDialog(tool);
  e2e::Click(dialog, IDOK);
  ExpectSilentExit(tool);
}

E2E_CASE(CancelWithoutChangesAsksNothing) {
  e2e::Process tool = e2e::Start(ToolPath());
  HWND dialog = WaitForMainDialog(tool);
  e2e::Command(dialog, IDCANCEL);
  ExpectSilentExit(tool);
}

E2E_CASE(DefaultThenCancelKeepsOpenAndNoClosesWithoutWriting) {
  SeedNonDefaults();
  e2e::Process tool = e2e::Start(ToolPath());
  HWND dialog = WaitForMainDialog(tool);
  ExpectValue("0001", 1280);
  PressDefaultAndConfirm(tool, dialog);

  e2e::Click(dialog, IDOK);
  e2e::Answer(ExpectBox(tool, "Save settings?", {IDYES, IDNO, IDCANCEL}), IDCANCEL);
  E2E_CHECK(e2e::NoMessageBoxWithin(tool, 500));
  E2E_CHECK(tool.Running());
  E2E_CHECK(e2e::IsWindowShown(dialog));

  e2e::Command(dialog, IDCANCEL);
  e2e::Answer(ExpectBox(tool, "Save settings?", {IDYES, IDNO, IDCANCEL}), IDNO);
  ExpectSilentExit(tool);
  ExpectValue("0001", 1280);
  ExpectValue("0029", 20);
  ExpectValue("0031", 0);
}

E2E_CASE(DefaultThenYesWritesEveryDefault) {
  SeedNonDefaults();
  e2e::Process tool = e2e::Start(ToolPath());
  HWND dialog = WaitForMainDialog(tool);
  PressDefaultAndConfirm(tool, dialog);
  e2e::Click(dialog, IDOK);
  e2e::Answer(ExpectBox(tool, "Save settings?", {IDYES, IDNO, IDCANCEL}), IDYES);
  e2e::Answer(ExpectBox(tool, "Settings saved.", {IDOK}), IDOK);
  ExpectSilentExit(tool);
  ExpectAllDefaults();
  auto kept = e2e::ReadValue(kKey, "0005");
  E2E_REQUIRE(kept.has_value());
  E2E_CHECK_EQ(kept->AsString(), std::string("kept"));
}

E2E_CASE(SecondStartWarnsOnceAndThirdExitsSilently) {
  e2e::Process first = e2e::Start(ToolPath());
  HWND dialog = WaitForMainDialog(first);

  e2e::Process second = e2e::Start(ToolPath());
  e2e::MessageBoxInfo box = ExpectBox(second, "VELDARA Config is already running.", {IDOK});
  E2E_CHECK(box.hasIcon);
  E2E_CHECK(GetWindow(box.window, GW_OWNER) == nullptr);

  e2e::Process third = e2e::Start(ToolPath());
  ExpectSilentExit(third);
  E2E_CHECK(FindMainDialog(third) == nullptr);

  E2E_CHECK(second.Running());
  e2e::Answer(box, IDOK);
  ExpectSilentExit(second);

  E2E_CHECK(e2e::IsWindowShown(dialog));
  e2e::Click(dialog, IDOK);
  ExpectSilentExit(first);
}

E2E_CASE(GameWindowMakesTheToolWarnSaveSilentlyAndClose) {
  SeedNonDefaults();
  e2e::Process tool = e2e::Start(ToolPath());
  HWND dialog = WaitForMainDialog(tool);
  PressDefaultAndConfirm(tool, dialog);
  {
    e2e::OwnWindow otherTitle("VdraClass", "VELDARA Launcher");
    E2E_CHECK(e2e::NoMessageBoxWithin(tool, 600));
  }
  e2e::OwnWindow game("VdraClass", "VELDARA");
  e2e::Answer(ExpectBox(tool, "The VELDARA Config Tool cannot be accessed while VELDARA is running.", {IDOK}), IDOK);
  ExpectSilentExit(tool);
  ExpectAllDefaults();
}

E2E_CASE(ViewerWindowMakesTheToolWarnAndClose) {
  SeedNonDefaults();
  e2e::Process tool = e2e::Start(ToolPath());
  WaitForMainDialog(tool);
  e2e::OwnWindow viewer("OrbinetUS", nullptr);
  e2e::Answer(ExpectBox(tool, "The VELDARA Config Tool cannot be accessed while VELDARA is running.", {IDOK}), IDOK);
  ExpectSilentExit(tool);
  ExpectValue("0001", 1280);  // nothing was changed, so nothing was written
}

E2E_CASE(GameRunningAtStartShowsTheDialogFirst) {
  e2e::OwnWindow game("VdraClass", "VELDARA");
  e2e::Process tool = e2e::Start(ToolPath());
  e2e::MessageBoxInfo box =
      ExpectBox(tool, "The VELDARA Config Tool cannot be accessed while VELDARA is running.", {IDOK});
  E2E_CHECK(FindMainDialog(tool) != nullptr);
  e2e::Answer(box, IDOK);
  ExpectSilentExit(tool);
}

E2E_CASE(AboutEntryOpensTheAboutDialog) {
  e2e::Process tool = e2e::Start(ToolPath());
  HWND dialog = WaitForMainDialog(tool);
  PostMessageA(dialog, WM_SYSCOMMAND, 0x10, 0);
  HWND about = e2e::WaitForDialog(tool, "About VELDARA Configuration Tool");
  bool hasVersion = false;
  for (HWND child = GetWindow(about, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (e2e::WindowText(child) == "VELDARA Config Version 1.6") hasVersion = true;
  }
  E2E_CHECK(hasVersion);
  e2e::Click(about, IDOK);
  e2e::WaitUntil([&] { return !IsWindow(about); }, "the About dialog to close");
  e2e::Click(dialog, IDOK);
  ExpectSilentExit(tool);
}

E2E_CASE(NullDirect3DGivesEmptyTabAreaThatClosesAtOnce) {
  // A copy of its own name, so that the override reaches only this program.
  std::string exe = e2e::CaseFolder() + "\\" + kNullD3d8Program;
  e2e::CopyFileTo(ToolPath(), exe);
  e2e::CopyFileTo(e2e::BuildPath("tests/e2e/testdlls/null_d3d8/d3d8.dll"), e2e::CaseFolder() + "\\d3d8.dll");
  e2e::NativeDllOverride override(kNullD3d8Program, "d3d8");
  e2e::StartOptions options;
  options.environment = {{"WINEDLLOVERRIDES", "d3d8=n"}};
  e2e::Process tool = e2e::Start(exe, options);
  HWND dialog = WaitForMainDialog(tool);
  HWND tab = e2e::Control(dialog, IDC_TAB);
  E2E_CHECK_EQ(Joined(e2e::TabItems(tab)), std::string());
  E2E_CHECK(Pages(tab, false).empty());
  E2E_CHECK(!e2e::KeyExists(kKey));

  e2e::Click(dialog, IDC_DEFAULT);
  E2E_CHECK(e2e::NoMessageBoxWithin(tool, 500));
  e2e::Click(dialog, IDOK);
  ExpectSilentExit(tool);
  E2E_CHECK(!e2e::KeyExists(kKey));
}

// Prints the time from CreateProcess until the dialog is visible, for the tool
// and for a minimal dialog program built the same way (median of five each).
E2E_CASE(StartupTimeAgainstMinimalDialog) {
  // One start first, so that neither program pays for the run's first GL setup.
  {
    e2e::Process warm = e2e::Start(ToolPath());
    e2e::Click(WaitForMainDialog(warm), IDOK);
    ExpectSilentExit(warm);
  }
  std::vector<double> tool;
  std::vector<double> minimal;
  std::string minimalPath = e2e::BuildPath("tests/e2e/configtool/minimal_dialog.exe");
  for (int round = 0; round < 5; ++round) {
    double start = e2e::NowMs();
    e2e::Process config = e2e::Start(ToolPath());
    HWND dialog = WaitForMainDialog(config, 30000);
    tool.push_back(e2e::NowMs() - start);
    e2e::Click(dialog, IDOK);
    ExpectSilentExit(config);

    start = e2e::NowMs();
    e2e::Process small = e2e::Start(minimalPath);
    HWND smallDialog = e2e::WaitForDialog(small, "Minimal Dialog", 30000);
    minimal.push_back(e2e::NowMs() - start);
    e2e::Click(smallDialog, IDOK);
    E2E_CHECK_EQ(small.WaitForExit(), 0u);
  }
  std::printf("startup until the dialog is visible (median of 5): VELDARA Config %.0f ms, minimal dialog %.0f ms\n",
              Median(tool), Median(minimal));
  for (std::size_t i = 0; i < tool.size(); ++i) {
    std::printf("  round %zu: VELDARA Config %.0f ms, minimal dialog %.0f ms\n", i + 1, tool[i], minimal[i]);
  }
}

// The viewer shows the title of "VELDARA Config.chm", so the file was found beside the program.
E2E_CASE(HelpButtonAndF1OpenTheHelpFile) {
  e2e::Process tool = e2e::Start(ToolPath());
  HWND dialog = WaitForMainDialog(tool);
  e2e::Click(dialog, IDC_HELP_BUTTON);
  HWND viewer = e2e::WaitForWindow(tool, "HH Parent", "VELDARA Config Help", 30000);
  PostMessageA(viewer, WM_CLOSE, 0, 0);
  e2e::WaitUntil([&] { return !IsWindowVisible(viewer); }, "the help viewer to close");

  // F1 becomes WM_HELP only as real keyboard input to the active window.
  SetForegroundWindow(dialog);
  e2e::WaitUntil([&] { return GetForegroundWindow() == dialog; }, "the dialog to become the foreground window");
  keybd_event(VK_F1, 0, 0, 0);
  keybd_event(VK_F1, 0, KEYEVENTF_KEYUP, 0);
  viewer = e2e::WaitForWindow(tool, "HH Parent", "VELDARA Config Help", 30000);
  PostMessageA(viewer, WM_CLOSE, 0, 0);
  e2e::WaitUntil([&] { return !IsWindowVisible(viewer); }, "the help viewer to close");
  e2e::Click(dialog, IDOK);
  ExpectSilentExit(tool);
}
