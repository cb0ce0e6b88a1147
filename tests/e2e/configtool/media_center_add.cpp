// Test-only program that runs the Media Center add flow of VELDARA Config
// with the real Windows services, taking the "BINARY" resources from the
// program file named on the command line. Wine is no Media Center system, so
// the configuration tool itself only ever removes the registration.
//   media_center_add.exe <path of VELDARA Config.exe>
#include <windows.h>

#include "configtool/settings/region.h"
#include "configtool/shell/media_center.h"
#include "platform/win32/handles.h"
#include "platform/win32/shell_win32.h"
#include "platform/win32/system_services_win32.h"
#include "platform/win32/system_win32.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  platform::win32::Win32Registry registry;
  platform::win32::Win32Shell shell;
  platform::win32::Win32Files files;
  platform::win32::Win32SystemInfo system;
  platform::win32::Win32Processes processes;
  platform::win32::UniqueModule program(LoadLibraryExA(argv[1], nullptr, LOAD_LIBRARY_AS_DATAFILE));
  platform::win32::Win32ModuleResources resources(program.get());
  configtool::AddToMediaCenter(configtool::MediaCenterServices{registry, configtool::kRegionOrbinetUs, shell, files,
                                                                system, resources, processes});
  return 0;
}
