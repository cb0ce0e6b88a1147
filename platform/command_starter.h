// Starting a command line without waiting, the way WinExec does.
#pragma once

namespace platform {

constexpr int kShowNormal = 1;  // SW_SHOWNORMAL
constexpr int kShow = 5;        // SW_SHOW

class CommandStarter {
 public:
  virtual ~CommandStarter() = default;
  // WinExec(commandLine, showCommand); returns its result (> 31 on success).
  virtual unsigned StartCommand(const char* commandLine, int showCommand) = 0;
};

}  // namespace platform
