// Start of VELDARA Config: thread locale, the single-instance rule with the
// mutexes "VELDARA Config" and "VELDARA Config Mutex" (the second limits the
// "already running" message 111 to one at a time), then the main dialog.
#pragma once

#include <functional>
#include <memory>

#include "configtool/app/config_app.h"
#include "platform/message_box.h"
#include "platform/named_mutex.h"
#include "platform/thread_locale.h"

namespace configtool {

constexpr char kInstanceMutexName[] = "VELDARA Config";
constexpr char kMessageMutexName[] = "VELDARA Config Mutex";

// The main dialog as the start sees it.
class ProgramDialog {
 public:
  // Destroys the dialog object.
  virtual ~ProgramDialog() = default;
  // Runs the dialog modally until it ends.
  virtual void RunModal() = 0;
};

struct ProgramServices {
  platform::ThreadLocale& locale;
  platform::NamedMutexes& mutexes;
  platform::MessageBoxes& messages;
};

// The whole start; the dialog is constructed through makeDialog only for the
// first copy. Returns the exit code, always 0.
int RunConfigProgram(ConfigApp& app, const ProgramServices& services,
                     const std::function<std::unique_ptr<ProgramDialog>()>& makeDialog);

}  // namespace configtool
