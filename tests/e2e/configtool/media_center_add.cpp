// Test-only program that runs the Media Center add flow of VELDARA Config
// with the real Windows services, taking the "BINARY" resources from the
// program file named on the command line. Wine is no Media Center system, so
// the configuration tool itself only ever removes the registration.
//   media_center_add.exe <path of VELDARA Config.exe>
#include <windows.h>

#include "configtool/settings/region.h"
#include "configtool/shell/media_center.h"
#include "platform/win32/shell_win32.h"
#include "platform/win32/system_services_win32.h"
#include "platform/win32/system_win32.h"

namespace {

// The resources of another program file, loaded as data.
class ProgramFileResources : public platform::ModuleResources {
 public:
  explicit ProgramFileResources(const char* path) : module_(LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
  ~ProgramFileResources() override {
    if (module_ != nullptr) FreeLibrary(module_);
  }
  bool LoadCustomResource(const char* name, const char* type, const std::uint8_t** data, std::size_t* size) override {
    HRSRC resource = module_ != nullptr ? FindResourceA(module_, name, type) : nullptr;
    HGLOBAL loaded = resource != nullptr ? LoadResource(module_, resource) : nullptr;
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (bytes == nullptr) return false;
    *data = static_cast<const std::uint8_t*>(bytes);
    *size = SizeofResource(module_, resource);
    return true;
  }

 private:
  HMODULE module_;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  platform::win32::Win32Registry registry;
  platform::win32::Win32Shell shell;
  platform::win32::Win32Files files;
  platform::win32::Win32SystemInfo system;
  platform::win32::Win32Processes processes;
  ProgramFileResources resources(argv[1]);
  configtool::AddToMediaCenter(configtool::MediaCenterServices{registry, configtool::kRegionOrbinetUs, shell, files,
                                                                system, resources, processes});
  return 0;
}
