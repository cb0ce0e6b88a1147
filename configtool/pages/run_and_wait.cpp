#include "configtool/pages/run_and_wait.h"

#include "configtool/shell/path_text.h"

namespace configtool {

int RunAndWait(const char* commandLine, platform::Processes& processes, platform::ThreadMessages& messages,
               platform::WindowId mainWindow) {
  PathText command;
  if (!command.Append(commandLine)) return 0;
  platform::StartedProcess started;
  if (!processes.StartProcess(command.c_str(), platform::kSwHide, &started)) return 0;

  std::uint32_t exitCode = platform::kStillActive;
  while (exitCode == platform::kStillActive) {
    // A handle whose exit code cannot be read would keep the loop going forever.
    if (!processes.GetExitCode(started.process, &exitCode)) break;
    processes.WaitForProcess(started.process, kRunAndWaitPollMs);
    unsigned message = 0;
    if (messages.TakeMessage(&message)) {
      if (message == platform::kWmPaint) messages.RepaintWindow(mainWindow);
      messages.ShowTopWindow(mainWindow, platform::kSwHide);
    }
  }
  messages.ShowTopWindow(mainWindow, platform::kSwShow);
  processes.CloseKernelHandle(started.thread);
  processes.CloseKernelHandle(started.process);
  return 0;
}

}  // namespace configtool
