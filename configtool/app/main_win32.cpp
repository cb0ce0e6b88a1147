// Entry point of "VELDARA Config.exe": common controls, then the start of
// config_program with the Win32 implementations of every seam.
#include <windows.h>

#include <commctrl.h>

#include "configtool/app/config_dialog_win32.h"
#include "configtool/app/config_program.h"
#include "platform/win32/direct3d8_win32.h"
#include "platform/win32/html_help_win32.h"
#include "platform/win32/message_box_win32.h"
#include "platform/win32/shell_win32.h"
#include "platform/win32/system_services_win32.h"
#include "platform/win32/system_win32.h"
#include "platform/win32/thread_locale_win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_BAR_CLASSES};
  InitCommonControlsEx(&controls);

  platform::win32::Win32Direct3D8Runtime direct3d;
  platform::win32::Win32Registry registry;
  platform::win32::Win32WindowFinder windows;
  platform::win32::Win32ModuleInfo module;
  platform::win32::Win32HtmlHelp help;
  platform::win32::Win32ThreadLocale locale;
  platform::win32::Win32NamedMutexes mutexes;
  platform::win32::Win32MessageBoxes messages(instance);
  platform::win32::Win32Shell shell;
  platform::win32::Win32Files files;
  platform::win32::Win32SystemInfo system;
  platform::win32::Win32ModuleResources resources;
  platform::win32::Win32Processes processes;
  platform::win32::Win32ThreadMessages threadMessages;

  configtool::ConfigApp app;
  configtool::ConfigDialogSystem dialogSystem{
      direct3d, registry, windows, module, help,
      configtool::PageServices{registry, shell, files, system, resources, processes, threadMessages}};
  return configtool::RunConfigProgram(app, configtool::ProgramServices{locale, mutexes, messages},
                                      [&]() -> std::unique_ptr<configtool::ProgramDialog> {
                                        return std::make_unique<configtool::ConfigDialogWindow>(instance, app, dialogSystem);
                                      });
}
