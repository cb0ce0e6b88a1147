// What the VELDARA Config suites share: the tool's path and settings key,
// finding its main dialog and pages, message box and exit expectations.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/driver/driver.h"

namespace configtest {

constexpr char kKey[] = "SOFTWARE\\OrbinetUS\\Corvane\\VeldaraTestClient";
constexpr char kInstallKey[] = "SOFTWARE\\OrbinetUS\\InstallFolder";
constexpr char kTitle[] = "VELDARA Config";
// The first Direct3D device of a run also sets up the GL stack.
constexpr int kStartTimeoutMs = 90000;

std::string ToolPath();

// The visible main dialog (a message box has the same caption but no tab control).
HWND FindMainDialog(const e2e::Process& tool);
HWND WaitForMainDialog(const e2e::Process& tool, int timeoutMs = kStartTimeoutMs);

// The page dialogs inside the tab control, all or only the visible ones.
std::vector<HWND> Pages(HWND tab, bool visibleOnly);
// Tab index of a page window, -1 when it is none.
int PageIndex(HWND page);
// The page window of a tab index.
HWND Page(HWND dialog, int index);
// The page window of a tab index once it has painted (a page sets its
// controls from the settings when it paints).
HWND PaintedPage(HWND dialog, int index);
// Selects the tab and waits until its page is the one visible and painted.
HWND ShowPage(HWND dialog, int index);

// Waits for the tool's next message box and checks caption, text and buttons.
e2e::MessageBoxInfo ExpectBox(const e2e::Process& tool, const std::string& text, std::vector<int> buttons);
// Waits for the tool to end and checks that it showed no message box meanwhile.
void ExpectSilentExit(e2e::Process& tool, int timeoutMs = e2e::kDefaultTimeoutMs);
// OK, "Save settings?" answered Yes, "Settings saved." and the end.
void SaveAndClose(e2e::Process& tool, HWND dialog);

void ExpectValue(const char* name, DWORD expected);
void PressDefaultAndConfirm(const e2e::Process& tool, HWND dialog);
std::string Joined(const std::vector<std::string>& items);

}  // namespace configtest
