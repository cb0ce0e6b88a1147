// Start-up time of both tools against their yardsticks: each tool and a bare
// program that shows the same dialog from the same resource script and does
// the same platform work before it shows (pad_limit.exe, config_limit.exe).
// Rounds interleave the four programs; the case prints the times and the
// ratios of the medians and fails only when a program does not start or
// does not close on OK.
//   ctest --preset win32 -R startup --verbose       (VELDARA_STARTUP_ROUNDS=n for more rounds)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/e2e/driver/driver.h"

namespace {

struct Program {
  const char* label;
  const char* buildPath;
  const char* fileName;
  const char* title;
  int controlId;  // a control only the main dialog has
  std::vector<double> times;
};

// Time from CreateProcess until the main dialog is visible. Until the program
// first waits for input, the driver waits on it at no cost to anyone; only
// then is the dialog looked for, every millisecond, since each look asks the
// system about every top-level window and would slow the program measured.
double StartMs(const Program& program) {
  const double start = e2e::NowMs();
  e2e::Process process = e2e::Start(e2e::CaseFolder() + "\\" + program.fileName);
  WaitForInputIdle(process.Handle(), 30000);
  HWND dialog = nullptr;
  double shown = 0;
  for (;;) {
    dialog = e2e::FindDialogWithControl(process, program.title, program.controlId);
    shown = e2e::NowMs();
    if (dialog != nullptr) break;
    if (shown - start > 30000) e2e::Fail(std::string("the dialog of ") + program.label + " did not show within 30 s");
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
  }
  // Closed with OK, as a user would, so that no killed process leaves work
  // for the system to do during the next start. Nothing is changed, so
  // nothing is asked.
  e2e::Click(dialog, IDOK);
  if (!process.EndsWithin(10000)) e2e::Fail(std::string(program.label) + " did not close on OK");
  return shown - start;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

int Rounds() {
  const char* text = std::getenv("VELDARA_STARTUP_ROUNDS");
  const int rounds = text != nullptr ? std::atoi(text) : 0;
  return rounds > 0 ? rounds : 7;
}

}  // namespace

E2E_CASE(StartupAgainstLimits) {
  // Pairs of a tool and its yardstick; 1011 is the pad dialog's status text, 1007 the tab control.
  std::vector<Program> programs = {
      {"VdraPadConfig", "padtool/VdraPadConfig.exe", "VdraPadConfig.exe", "VELDARA Gamepad Configuration Tool", 1011, {}},
      {"pad limit", "tests/e2e/startup/pad_limit.exe", "pad_limit.exe", "VELDARA Gamepad Configuration Tool", 1011, {}},
      {"VELDARA Config", "configtool/VELDARA Config.exe", "VELDARA Config.exe", "VELDARA Config", 1007, {}},
      {"config limit", "tests/e2e/startup/config_limit.exe", "config_limit.exe", "VELDARA Config", 1007, {}},
  };
  for (const Program& program : programs) {
    e2e::CopyFileTo(e2e::BuildPath(program.buildPath), e2e::CaseFolder() + "\\" + program.fileName);
  }
  // What the gamepad tool saves on its first OK, so that OK closes it without a question.
  const char* key = "SOFTWARE\\OrbinetUS\\Corvane\\VeldaraTestClient";
  std::string nothingAssigned = "-1";
  for (int i = 1; i < 27; ++i) nothingAssigned += ",-1";
  e2e::WriteString(key, "padsin000", nothingAssigned);
  e2e::WriteString(key, "padmode000", "0,1,1,1");
  // A window of the driver's own keeps the desktop up between the starts, as
  // on a player's machine, where no start pays for bringing it up.
  e2e::OwnWindow desktopUser("VeldaraStartupDesktop", nullptr);
  // One start of each first: none pays for the run's first loads of its DLLs.
  for (const Program& program : programs) StartMs(program);

  const int rounds = Rounds();
  for (int round = 0; round < rounds; ++round) {
    // The order within each pair alternates, so neither side always runs first.
    for (std::size_t pair = 0; pair < programs.size(); pair += 2) {
      const std::size_t first = pair + static_cast<std::size_t>(round % 2);
      const std::size_t second = pair + 1 - static_cast<std::size_t>(round % 2);
      programs[first].times.push_back(StartMs(programs[first]));
      programs[second].times.push_back(StartMs(programs[second]));
    }
  }

  std::printf("start until the main dialog is visible, %d interleaved rounds (ms):\n", rounds);
  for (int round = 0; round < rounds; ++round) {
    std::printf("  round %d:", round + 1);
    for (const Program& program : programs) std::printf("  %s %.0f", program.label, program.times[round]);
    std::printf("\n");
  }
  for (std::size_t pair = 0; pair < programs.size(); pair += 2) {
    const Program& tool = programs[pair];
    const Program& limit = programs[pair + 1];
    std::printf("%s: median %.0f ms, its limit %.0f ms, ratio %.2fx\n", tool.label, Median(tool.times),
                Median(limit.times), Median(tool.times) / Median(limit.times));
  }
}
