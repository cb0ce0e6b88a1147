// Runs another program and waits for it while the configuration tool stays
// out of sight: its main window is hidden as soon as any message arrives, and
// every message of the thread is taken and dropped until the program ends.
#pragma once

#include "platform/processes.h"
#include "platform/thread_messages.h"
#include "platform/window_id.h"

namespace configtool {

constexpr char kGamepadToolCommand[] = "VdraPadConfig.exe";
constexpr unsigned kRunAndWaitPollMs = 100;

// Starts commandLine (found by the system's search for a bare file name, run
// in the current directory) with SW_HIDE in its start-up record, waits for its
// end and shows mainWindow again. Nothing happens when the start fails. The
// process and thread handles are closed afterwards. Always returns 0.
int RunAndWait(const char* commandLine, platform::Processes& processes, platform::ThreadMessages& messages,
               platform::WindowId mainWindow);

}  // namespace configtool
