#include "tests/e2e/configtool/config_session.h"

#include <algorithm>

#include "resource.h"

namespace configtest {

namespace {

// A control that only the page of that tab index has.
const int kPageMarker[] = {IDC_GAMEPAD_SETTINGS, IDC_OVERLAY_RESOLUTION, IDC_TEXTURE_COMPRESSION,
                           IDC_ENVIRONMENTAL_ANIMATION, IDC_SOUND_EFFECT_COUNT, IDC_OPENING_MOVIE};

struct PageSearch {
  HWND tab;
  std::vector<HWND> pages;
  bool visibleOnly;
};

BOOL CALLBACK CollectPage(HWND child, LPARAM context) {
  auto* search = reinterpret_cast<PageSearch*>(context);
  if (GetParent(child) == search->tab && e2e::ClassName(child) == "#32770" &&
      (!search->visibleOnly || IsWindowVisible(child))) {
    search->pages.push_back(child);
  }
  return TRUE;
}

std::vector<int> Sorted(std::vector<int> values) {
  std::sort(values.begin(), values.end());
  return values;
}

}  // namespace

std::string ToolPath() { return e2e::BuildPath("configtool/VELDARA Config.exe"); }

HWND FindMainDialog(const e2e::Process& tool) { return e2e::FindDialogWithControl(tool, kTitle, IDC_TAB); }

HWND WaitForMainDialog(const e2e::Process& tool, int timeoutMs) {
  return e2e::WaitForDialogWithControl(tool, kTitle, IDC_TAB, timeoutMs);
}

std::vector<HWND> Pages(HWND tab, bool visibleOnly) {
  PageSearch search{tab, {}, visibleOnly};
  EnumChildWindows(tab, &CollectPage, reinterpret_cast<LPARAM>(&search));
  return search.pages;
}

int PageIndex(HWND page) {
  for (int i = 0; i < 6; ++i) {
    if (GetDlgItem(page, kPageMarker[i]) != nullptr) return i;
  }
  return -1;
}

HWND Page(HWND dialog, int index) {
  for (HWND page : Pages(e2e::Control(dialog, IDC_TAB), false)) {
    if (PageIndex(page) == index) return page;
  }
  e2e::Fail("no page " + std::to_string(index));
}

HWND PaintedPage(HWND dialog, int index) {
  HWND page = Page(dialog, index);
  // Sends WM_PAINT and returns once the page has handled it.
  RedrawWindow(page, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  return page;
}

HWND ShowPage(HWND dialog, int index) {
  HWND tab = e2e::Control(dialog, IDC_TAB);
  e2e::SelectTab(tab, index);
  HWND page = Page(dialog, index);
  e2e::WaitUntil([&] { return IsWindowVisible(page) != FALSE; }, "page " + std::to_string(index) + " to be visible");
  return PaintedPage(dialog, index);
}

e2e::MessageBoxInfo ExpectBox(const e2e::Process& tool, const std::string& text, std::vector<int> buttons) {
  e2e::MessageBoxInfo box = e2e::WaitForMessageBox(tool);
  E2E_CHECK_EQ(box.caption, std::string(kTitle));
  E2E_CHECK_EQ(box.text, text);
  E2E_CHECK(Sorted(box.buttons) == Sorted(buttons));
  return box;
}

void ExpectSilentExit(e2e::Process& tool, int timeoutMs) {
  bool sawBox = false;
  bool ended = e2e::BecomesTrueWithin(
      [&] {
        if (e2e::CurrentMessageBox(tool).has_value()) sawBox = true;
        return !tool.Running();
      },
      timeoutMs);
  E2E_CHECK(!sawBox);
  E2E_REQUIRE(ended);
  E2E_CHECK_EQ(tool.WaitForExit(), 0u);
}

void SaveAndClose(e2e::Process& tool, HWND dialog) {
  e2e::Click(dialog, IDOK);
  e2e::Answer(ExpectBox(tool, "Save settings?", {IDYES, IDNO, IDCANCEL}), IDYES);
  e2e::Answer(ExpectBox(tool, "Settings saved.", {IDOK}), IDOK);
  ExpectSilentExit(tool);
}

void ExpectValue(const char* name, DWORD expected) {
  auto value = e2e::ReadValue(kKey, name);
  E2E_REQUIRE(value.has_value());
  E2E_CHECK_EQ(value->type, static_cast<DWORD>(REG_DWORD));
  E2E_CHECK_EQ(value->data.size(), 4u);
  E2E_CHECK_EQ(value->AsDword(), expected);
}

void PressDefaultAndConfirm(const e2e::Process& tool, HWND dialog) {
  e2e::Click(dialog, IDC_DEFAULT);
  e2e::Answer(ExpectBox(tool, "Return settings to their default values?", {IDYES, IDNO}), IDYES);
  e2e::Answer(ExpectBox(tool, "Returned settings to default values.", {IDOK}), IDOK);
}

std::string Joined(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) text += (text.empty() ? "" : "|") + item;
  return text;
}

}  // namespace configtest
