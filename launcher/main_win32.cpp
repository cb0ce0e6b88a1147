// Entry point of orbboot.exe: no window, one launch attempt, exit code 0.
#include <windows.h>

#include "launcher/launcher_command.h"
#include "platform/win32/system_win32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  platform::win32::Win32ModuleInfo module;
  platform::win32::Win32CommandStarter starter;
  return launcher::RunLauncherStub(module, starter);
}
