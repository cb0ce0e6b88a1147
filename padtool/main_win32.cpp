// Entry point of VdraPadConfig.exe: English (United States) texts, common
// controls, one instance per session ("VdraPad"), then the main dialog.
#include <windows.h>
#include <commctrl.h>

#include "padtool/dialogs/pad_child_windows.h"
#include "padtool/dialogs/pad_config_window.h"
#include "padtool/dialogs/single_instance.h"
#include "platform/win32/direct_input_win32.h"
#include "platform/win32/html_help_win32.h"
#include "platform/win32/system_win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  SetThreadLocale(MAKELCID(0x409, SORT_DEFAULT));
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  platform::win32::Win32Registry registry;
  platform::win32::Win32WindowFinder windows;
  platform::win32::Win32ModuleInfo module;
  platform::win32::Win32HtmlHelp help;
  platform::win32::Win32DirectInputProvider directInput;
  platform::win32::Win32NamedMutexes mutexes;
  padtool::win32::PadChildWindows children(instance);

  padtool::win32::PadConfigWindow dialog(instance, {registry, windows, module, help, directInput, children});
  children.SetOwner(dialog);
  // A second instance ends before its dialog is created, without a message.
  if (!padtool::ClaimSingleInstance(mutexes)) return 0;
  dialog.RunModal(nullptr);
  return 0;
}
