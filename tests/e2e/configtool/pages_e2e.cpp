// VELDARA Config's pages under Wine: what they show on an empty registry,
// the windowed-mode question, the gamma and sound trackbars, the screen-size
// lists from Wine's adapter, Enter and Esc on each page, Tab, arrows and
// mnemonics inside a page, Ctrl+Tab, Default repainting the visible page, and
// an idle tool.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "resource.h"
#include "tests/e2e/configtool/config_session.h"
#include "tests/e2e/driver/driver.h"

namespace {

using namespace configtest;

int TrackbarPosition(HWND page, int id) {
  return static_cast<int>(SendMessageA(e2e::Control(page, id), TBM_GETPOS, 0, 0));
}

void WaitForText(HWND page, int id, const std::string& text) {
  e2e::WaitUntil([&] { return e2e::ControlText(page, id) == text; },
                 "control " + std::to_string(id) + " to read \"" + text + "\"", 5000);
}

std::string SelectedItem(HWND page, int id) {
  int selected = e2e::ComboSelection(page, id);
  std::vector<std::string> items = e2e::ComboItems(page, id);
  return selected >= 0 && selected < static_cast<int>(items.size()) ? items[selected] : "<none>";
}

// The 32-bit display modes of 640 x 480 up to 2048 x 2048, one per size, in
// the order the system lists them.
std::vector<std::string> FullColourModes() {
  std::vector<std::string> modes;
  std::set<std::pair<DWORD, DWORD>> seen;
  DEVMODEA mode{};
  mode.dmSize = sizeof mode;
  for (DWORD i = 0; EnumDisplaySettingsA(nullptr, i, &mode); ++i) {
    if (mode.dmBitsPerPel != 32 || mode.dmPelsWidth < 640 || mode.dmPelsWidth > 2048 || mode.dmPelsHeight < 480 ||
        mode.dmPelsHeight > 2048 || !seen.insert({mode.dmPelsWidth, mode.dmPelsHeight}).second) {
      continue;
    }
    modes.push_back(std::to_string(mode.dmPelsWidth) + " x " + std::to_string(mode.dmPelsHeight));
  }
  return modes;
}

// Waits until the focus is on that control of that window (a page or the main dialog).
HWND WaitForFocus(const e2e::Process& tool, HWND dialog, int id) {
  HWND control = e2e::Control(dialog, id);
  e2e::WaitUntil([&] { return e2e::FocusedWindow(tool) == control; },
                 "the focus on control " + std::to_string(id) + " (it is on " +
                     std::to_string(e2e::FocusedControlId(tool)) + ")",
                 5000);
  return control;
}

// Alt and a letter as the keyboard sends them: the dialog loop translates the
// key-down into WM_SYSCHAR.
void SendAltKey(HWND window, char letter) {
  UINT scan = MapVirtualKeyA(static_cast<unsigned char>(letter), 0);
  LPARAM alt = 1 | (scan << 16) | (1u << 29);
  PostMessageA(window, WM_SYSKEYDOWN, static_cast<unsigned char>(letter), alt);
  PostMessageA(window, WM_SYSKEYUP, static_cast<unsigned char>(letter), alt | (1u << 30) | (1u << 31));
}

// Real keyboard input to the foreground dialog, for keys held with Shift or
// Ctrl (a posted message carries no modifier state).
void PressWith(HWND dialog, std::initializer_list<BYTE> modifiers, BYTE key) {
  SetForegroundWindow(dialog);
  e2e::WaitUntil([&] { return GetForegroundWindow() == dialog; }, "the dialog to become the foreground window");
  for (BYTE modifier : modifiers) keybd_event(modifier, 0, 0, 0);
  keybd_event(key, 0, 0, 0);
  keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
  for (BYTE modifier : modifiers) keybd_event(modifier, 0, KEYEVENTF_KEYUP, 0);
}

const char kWindowedWarning[] =
    "You may experience lower frame rates or other problems depending on your computer's specifications.\n"
    "Uncheck the box and use full screen mode to improve performance.";

}  // namespace

E2E_CASE(PagesShowTheDefaultsOfAnEmptyRegistry) {
  e2e::Process tool = e2e::Start(ToolPath());
  HWND dialog = WaitForMainDialog(tool);
  HWND general = PaintedPage(dialog, 0);
  E2E_CHECK(!e2e::IsChecked(general, IDC_MIP_MAPPING));
  E2E_CHECK(!e2e::IsChecked(general, IDC_WINDOWED_MODE));
  E2E_CHECK_EQ(TrackbarPosition(general, IDC_GAMMA), 50);
  E2E_CHECK_EQ(e2e::ControlText(general, IDC_GAMMA_VALUE), std::string("0.0"));

  HWND screen = ShowPage(dialog, 1);
  E2E_CHECK(!e2e::IsVisible(screen, IDC_LCD_3D_MODE));
  E2E_CHECK_EQ(SelectedItem(screen, IDC_BACKGROUND_RESOLUTION), std::string("512 x 512"));

  HWND textures = ShowPage(dialog, 2);
  E2E_CHECK_EQ(SelectedItem(textures, IDC_TEXTURE_COMPRESSION), std::string("Low"));
  E2E_CHECK_EQ(SelectedItem(textures, IDC_MAP_COMPRESSION), std::string("Uncompressed"));

  HWND effects = ShowPage(dialog, 3);
  E2E_CHECK(!e2e::IsChecked(effects, IDC_BUMP_MAPPING));
  E2E_CHECK_EQ(SelectedItem(effects, IDC_ENVIRONMENTAL_ANIMATION), std::string("Normal"));

  HWND sound = ShowPage(dialog, 4);
  E2E_CHECK(e2e::IsChecked(sound, IDC_SOUND_ENABLED));
  E2E_CHECK_EQ(TrackbarPosition(sound, IDC_SOUND_EFFECT_COUNT), 0);
  E2E_CHECK_EQ(e2e::ControlText(sound, IDC_SOUND_EFFECT_VALUE), std::string("12"));

  HWND misc = ShowPage(dialog, 5);
  E2E_CHECK(e2e::IsChecked(misc, IDC_OPENING_MOVIE));
  E2E_CHECK(!e2e::IsChecked(misc, IDC_HARDWARE_MOUSE_CURSOR));
  E2E_CHECK(!e2e::IsChecked(misc, IDC_SIMPLE_CHARACTER_CREATION));
  E2E_CHECK(!e2e::IsEnabled(misc, IDC_ADD_TO_MEDIA_CENTER));  // Wine is no Media Center system

  // Painting changed nothing that needs saving.
  e2e::Click(dialog, IDOK);
  ExpectSilentExit(tool);
}

E2E_CASE(WindowedModeAnsweredNoLeavesNothingToSaveAndYesIsSaved) {
  {
    e2e::Process tool = e2e::Start(ToolPath());
    HWND dialog = WaitForMainDialog(tool);
    HWND general = PaintedPage(dialog, 0);
    e2e::Click(general, IDC_WINDOWED_MODE);
    e2e::MessageBoxInfo box = ExpectBox(tool, kWindowedWarning, {IDYES, IDNO});
    E2E_CHECK(box.hasIcon);
    e2e::Answer(box, IDNO);
    e2e::WaitUntil([&] { return !e2e::IsChecked(general, IDC_WINDOWED_MODE); }, "the box to be unchecked again");
    e2e::Click(dialog, IDOK);
    ExpectSilentExit(tool);
    ExpectValue("0034", 0);
  }
  e2e::Process tool = e2e::Start(ToolPath());
  HWND dialog = WaitForMainDialog(tool);
  HWND general = PaintedPage(dialog, 0);
  e2e::Click(general, IDC_WINDOWED_MODE);
  e2e::Answer(ExpectBox(tool, kWindowedWarning, {IDYES, IDNO}), IDYES);
  E2E_CHECK(e2e::IsChecked(general, IDC_WINDOWED_MODE));
  SaveAndClose(tool, dialog);
  ExpectValue("0034", 1);
}

E2E_CASE(GammaTrackbarStoresEveryPositionAndShowsItsValue) {
  {
    e2e::Process tool = e2e::Start(ToolPath());
    HWND dialog = WaitForMainDialog(tool);
    HWND general = PaintedPage(dialog, 0);
    HWND trackbar = e2e::Control(general, IDC_GAMMA);
    e2e::SendKey(trackbar, VK_END);
    WaitForText(general, IDC_GAMMA_VALUE, "1.0");
    e2e::SendKey(trackbar, VK_HOME);
    WaitForText(general, IDC_GAMMA_VALUE, "-1.0");
    // One step up from 54 gives 55.
    SendMessageA(trackbar, TBM_SETPOS, TRUE, 54);
    e2e::SendKey(trackbar, VK_RIGHT);
    WaitForText(general, IDC_GAMMA_VALUE, "0.1");
    E2E_CHECK_EQ(TrackbarPosition(general, IDC_GAMMA), 55);
    SaveAndClose(tool, dialog);
    ExpectValue("0028", 0x3DCCCCCC);
  }
  // The stored 0.0999999940... paints back at 54.
  e2e::Process tool = e2e::Start(ToolPath());
  HWND dialog = WaitForMainDialog(tool);
  HWND general = PaintedPage(dialog, 0);
  E2E_CHECK_EQ(TrackbarPosition(general, IDC_GAMMA), 54);
  E2E_CHECK_EQ(e2e::ControlText(general, IDC_GAMMA_VALUE), std::string("0.1"));
  e2e::Click(dialog, IDOK);
  ExpectSilentExit(tool);
}

E2E_CASE(SoundTrackbarRunsFrom12To20) {
  e2e::WriteDword(kKey, "0029", 31);
  e2e::Process tool = e2e::Start(ToolPath());
  HWND dialog = WaitForMainDialog(tool);
  HWND sound = ShowPage(dialog, 4);
  HWND trackbar = e2e::Control(sound, IDC_SOUND_EFFECT_COUNT);
  E2E_CHECK_EQ(SendMessageA(trackbar, TBM_GETRANGEMIN, 0, 0), 0);
  E2E_CHECK_EQ(SendMessageA(trackbar, TBM_GETRANGEMAX, 0, 0), 8);
  E2E_CHECK_EQ(TrackbarPosition(sound, IDC_SOUND_EFFECT_COUNT), 8);
  E2E_CHECK_EQ(e2e::ControlText(sound, IDC_SOUND_EFFECT_VALUE), std::string("20"));
  ExpectValue("0029", 31);  // shown at the end, kept until the trackbar moves
  e2e::SendKey(trackbar, VK_HOME);
  WaitForText(sound, IDC_SOUND_EFFECT_VALUE, "12");
  e2e::SendKey(trackbar, VK_END);
  WaitForText(sound, IDC_SOUND_EFFECT_VALUE, "20");
  SaveAndClose(tool, dialog);
  ExpectValue("0029", 20);
}

E2E_CASE(ScreenSizeListsComeFromWinesAdapter) {
  e2e::Process tool = e2e::Start(ToolPath());
  HWND dialog = WaitForMainDialog(tool);
  HWND screen = ShowPage(dialog, 1);
  std::vector<std::string> overlay = e2e::ComboItems(screen, IDC_OVERLAY_RESOLUTION);
  E2E_CHECK_EQ(Joined(overlay), Joined(FullColourModes()));
  E2E_REQUIRE(!overlay.empty());
  bool has640 = std::find(overlay.begin(), overlay.end(), "640 x 480") != overlay.end();
  E2E_CHECK_EQ(SelectedItem(screen, IDC_OVERLAY_RESOLUTION), has640 ? std::string("640 x 480") : overlay[0]);

  std::vector<std::string> background = e2e::ComboItems(screen, IDC_BACKGROUND_RESOLUTION);
  E2E_REQUIRE(background.size() >= 2);
  E2E_CHECK_EQ(background[0], std::string("256 x 256"));
  E2E_CHECK_EQ(background[1], std::string("512 x 512"));
  for (const std::string& item : background) {
    bool square = item == "256 x 256" || item == "512 x 512" || item == "1024 x 1024" || item == "2048 x 2048";
    E2E_CHECK(square || std::find(overlay.begin(), overlay.end(), item) != overlay.end());
  }

  int last = static_cast<int>(overlay.size()) - 1;
  e2e::SelectComboItem(screen, IDC_OVERLAY_RESOLUTION, last);
  e2e::SelectComboItem(screen, IDC_BACKGROUND_RESOLUTION, 0);
  SaveAndClose(tool, dialog);
  unsigned width = 0;
  unsigned height = 0;
  std::sscanf(overlay[last].c_str(), "%u x %u", &width, &height);
  ExpectValue("0001", width);
  ExpectValue("0002", height);
  ExpectValue("0003", 256);
  ExpectValue("0004", 256);
}

E2E_CASE(EnterAndEscOnGeneralScreenSizeAndTexturesActOnTheMainDialog) {
  {
    // Enter on a focused push button of the page is OK too, not the button.
    e2e::Process tool = e2e::Start(ToolPath());
    HWND dialog = WaitForMainDialog(tool);
    HWND general = PaintedPage(dialog, 0);
    e2e::FocusControl(general, IDC_CREATE_SHORTCUT);
    e2e::WaitUntil([&] { return e2e::FocusedControlId(tool) == IDC_CREATE_SHORTCUT; }, "the focus on the button");
    e2e::SendKey(e2e::Control(general, IDC_CREATE_SHORTCUT), VK_RETURN);
    ExpectSilentExit(tool);
  }
  {
    e2e::Process tool = e2e::Start(ToolPath());
    HWND dialog = WaitForMainDialog(tool);
    HWND screen = ShowPage(dialog, 1);
    e2e::SendKey(e2e::Control(screen, IDC_OVERLAY_RESOLUTION), VK_ESCAPE);
    ExpectSilentExit(tool);
  }
  e2e::Process tool = e2e::Start(ToolPath());
  HWND dialog = WaitForMainDialog(tool);
  HWND textures = ShowPage(dialog, 2);
  e2e::SelectComboItem(textures, IDC_TEXTURE_COMPRESSION, 0);
  e2e::SendKey(e2e::Control(textures, IDC_TEXTURE_COMPRESSION), VK_RETURN);
  e2e::Answer(ExpectBox(tool, "Save settings?", {IDYES, IDNO, IDCANCEL}), IDCANCEL);
  E2E_CHECK(IsWindowVisible(textures));
  e2e::SendKey(e2e::Control(textures, IDC_MAP_COMPRESSION), VK_ESCAPE);
  e2e::Answer(ExpectBox(tool, "Save settings?", {IDYES, IDNO, IDCANCEL}), IDNO);
  ExpectSilentExit(tool);
  ExpectValue("0018", 1);
}

E2E_CASE(EnterAndEscHideTheEffectsSoundAndMiscPages) {
  const std::vector<std::pair<int, int>> pages = {
      {3, IDC_BUMP_MAPPING}, {4, IDC_SOUND_ENABLED}, {5, IDC_OPENING_MOVIE}};
  e2e::Process tool = e2e::Start(ToolPath());
  HWND dialog = WaitForMainDialog(tool);
  for (const auto& [index, control] : pages) {
    for (UINT key : {VK_RETURN, VK_ESCAPE}) {
      HWND page = ShowPage(dialog, index);
      e2e::SendKey(e2e::Control(page, control), key);
      e2e::WaitUntil([&] { return !IsWindowVisible(page); }, "page " + std::to_string(index) + " to hide");
      E2E_CHECK(e2e::NoMessageBoxWithin(tool, 300));
      E2E_CHECK(e2e::IsWindowShown(dialog));
      ShowPage(dialog, 0);
    }
  }
  e2e::Click(dialog, IDOK);
  ExpectSilentExit(tool);
}

E2E_CASE(TabArrowsAndMnemonicsOnTheGeneralPageStayInsideIt) {
  e2e::Process tool = e2e::Start(ToolPath());
  HWND dialog = WaitForMainDialog(tool);
  HWND general = PaintedPage(dialog, 0);
  e2e::FocusControl(dialog, IDC_TAB);
  HWND focus = WaitForFocus(tool, dialog, IDC_TAB);
  e2e::SendKey(focus, VK_TAB);
  focus = WaitForFocus(tool, general, IDC_MIP_MAPPING);
  // Round the page's tab stops and back to the first, never out to the main dialog.
  for (int id : {IDC_WINDOWED_MODE, IDC_CREATE_SHORTCUT, IDC_GAMEPAD_SETTINGS, IDC_GAMMA, IDC_MIP_MAPPING}) {
    e2e::SendKey(focus, VK_TAB);
    focus = WaitForFocus(tool, general, id);
  }
  PressWith(dialog, {VK_SHIFT}, VK_TAB);
  focus = WaitForFocus(tool, general, IDC_GAMMA);
  e2e::SendKey(focus, VK_TAB);
  focus = WaitForFocus(tool, general, IDC_MIP_MAPPING);
  e2e::SendKey(focus, VK_DOWN);
  focus = WaitForFocus(tool, general, IDC_WINDOWED_MODE);
  E2E_CHECK(!e2e::IsChecked(general, IDC_WINDOWED_MODE));  // moving the focus checks nothing

  // The page's own mnemonic, then one of the main dialog's from inside the page.
  SendAltKey(focus, 'S');
  e2e::MessageBoxInfo question = e2e::WaitForMessageBox(tool);
  E2E_CHECK_EQ(question.text.rfind("Create a shortcut for VELDARA on the desktop?", 0), 0u);
  e2e::Answer(question, IDNO);
  focus = WaitForFocus(tool, general, IDC_CREATE_SHORTCUT);
  SendAltKey(focus, 'D');
  e2e::Answer(ExpectBox(tool, "Return settings to their default values?", {IDYES, IDNO}), IDNO);
  e2e::Click(dialog, IDOK);
  ExpectSilentExit(tool);
}

E2E_CASE(TabStaysInsideTheEffectsPageAndCtrlTabSwitchesPages) {
  e2e::Process tool = e2e::Start(ToolPath());
  HWND dialog = WaitForMainDialog(tool);
  HWND tab = e2e::Control(dialog, IDC_TAB);
  HWND effects = ShowPage(dialog, 3);
  e2e::FocusControl(dialog, IDC_TAB);
  WaitForFocus(tool, dialog, IDC_TAB);
  std::vector<int> stops = {IDC_ENVIRONMENTAL_ANIMATION};
  if (e2e::IsEnabled(effects, IDC_BUMP_MAPPING)) stops.insert(stops.begin(), IDC_BUMP_MAPPING);
  e2e::SendKey(tab, VK_TAB);
  HWND focus = WaitForFocus(tool, effects, stops[0]);
  for (int round = 0; round < 2; ++round) {
    for (std::size_t i = 1; i <= stops.size(); ++i) {
      e2e::SendKey(focus, VK_TAB);
      focus = WaitForFocus(tool, effects, stops[i % stops.size()]);
    }
  }

  // Ctrl+Tab from inside the page shows the next one; the focus goes to the
  // tab control, not to a control of the hidden page.
  PressWith(dialog, {VK_CONTROL}, VK_TAB);
  e2e::WaitUntil([&] { return e2e::TabSelection(tab) == 4 && IsWindowVisible(Page(dialog, 4)); }, "the Sound page");
  E2E_CHECK(!IsWindowVisible(effects));
  WaitForFocus(tool, dialog, IDC_TAB);
  PressWith(dialog, {VK_CONTROL, VK_SHIFT}, VK_TAB);
  e2e::WaitUntil([&] { return e2e::TabSelection(tab) == 3 && IsWindowVisible(effects); }, "the Effects page again");
  E2E_CHECK(!IsWindowVisible(Page(dialog, 4)));

  // Esc hides Effects and hands the focus to the tab control; choosing another
  // tab and then Effects again brings the page back.
  e2e::SendKey(tab, VK_TAB);
  focus = WaitForFocus(tool, effects, stops[0]);
  e2e::SendKey(focus, VK_ESCAPE);
  e2e::WaitUntil([&] { return !IsWindowVisible(effects); }, "the Effects page to hide");
  WaitForFocus(tool, dialog, IDC_TAB);
  e2e::SendKey(tab, VK_RIGHT);
  e2e::SendKey(tab, VK_LEFT);
  e2e::WaitUntil([&] { return IsWindowVisible(effects) != FALSE; }, "the Effects page to come back");
  E2E_CHECK_EQ(e2e::TabSelection(tab), 3);
  e2e::Click(dialog, IDOK);
  ExpectSilentExit(tool);
}

E2E_CASE(DefaultRepaintsTheVisiblePage) {
  e2e::WriteDword(kKey, "0011", 2);
  e2e::Process tool = e2e::Start(ToolPath());
  HWND dialog = WaitForMainDialog(tool);
  HWND effects = ShowPage(dialog, 3);
  E2E_CHECK_EQ(SelectedItem(effects, IDC_ENVIRONMENTAL_ANIMATION), std::string("Smooth"));
  e2e::Click(dialog, IDC_DEFAULT);
  e2e::MessageBoxInfo question = ExpectBox(tool, "Return settings to their default values?", {IDYES, IDNO});
  // Out of the way, so that its closing uncovers nothing of the page: only the
  // dialog's own invalidation may repaint it.
  SetWindowPos(question.window, nullptr, -2000, -2000, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  RedrawWindow(effects, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  E2E_CHECK_EQ(SelectedItem(effects, IDC_ENVIRONMENTAL_ANIMATION), std::string("Smooth"));
  e2e::Answer(question, IDYES);
  e2e::MessageBoxInfo done = ExpectBox(tool, "Returned settings to default values.", {IDOK});
  e2e::WaitUntil([&] { return SelectedItem(effects, IDC_ENVIRONMENTAL_ANIMATION) == "Normal"; },
                 "the visible page to show the default", 5000);
  e2e::Answer(done, IDOK);
  e2e::Command(dialog, IDCANCEL);
  e2e::Answer(ExpectBox(tool, "Save settings?", {IDYES, IDNO, IDCANCEL}), IDNO);
  ExpectSilentExit(tool);
}

// Pages refresh their controls on every paint; none of that may feed itself.
// What an idle tool still spends (the game watch every 100 ms, Wine's own
// threads) stays within a few ticks of the process clock.
E2E_CASE(AnIdleToolTakesNoProcessorTimeOnAnyPage) {
  e2e::Process tool = e2e::Start(ToolPath());
  HWND dialog = WaitForMainDialog(tool);
  auto cpuMs = [&] {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(tool.Handle(), &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME& t) { return ((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10000; };
    return ms(kernel) + ms(user);
  };
  for (int index = 0; index < 6; ++index) {
    ShowPage(dialog, index);
    e2e::Pump(500);
    ULONGLONG before = cpuMs();
    e2e::Pump(3000);
    ULONGLONG used = cpuMs() - before;
    std::printf("page %d: %llu ms of processor time in 3 s idle\n", index, used);
    E2E_CHECK(used <= 90);
  }
  e2e::Click(dialog, IDOK);
  ExpectSilentExit(tool);
}
