// Start-up time of both tools against their yardsticks: each tool and a bare
// program that shows the same dialog from the same resource script and does
// the same platform work before it shows (pad_limit.exe, config_limit.exe).
// Rounds interleave the four programs; the case prints the times and the
// ratios of the medians and fails only when a program does not start.
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

// Time from CreateProcess until the main dialog is visible, polled every millisecond.
double StartMs(const Program& program) {
  const double start = e2e::NowMs();
  e2e::Process process = e2e::Start(e2e::CaseFolder() + "\\" + program.fileName);
  const double limit = start + 30000;
  double shown = 0;
  while ((shown = e2e::NowMs()) < limit) {
    if (e2e::FindDialogWithControl(process, program.title, program.controlId) != nullptr) break;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
  }
  if (shown >= limit) e2e::Fail(std::string("the dialog of ") + program.label + " did not show within 30 s");
  process.Terminate();
  process.WaitForExit();
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
