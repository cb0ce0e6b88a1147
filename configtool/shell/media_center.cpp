#include "configtool/shell/media_center.h"

#include <vector>

#include "configtool/shell/description_edit.h"
#include "configtool/shell/desktop_shortcut.h"
#include "configtool/shell/install_folder.h"
#include "configtool/shell/path_text.h"

namespace configtool {

namespace {

constexpr char kRegisterTool[] = "\\ehome\\RegisterMCEApp.exe";
constexpr char kRegisterArguments[] = " /allusers";
constexpr char kUnregisterArguments[] = " /u /allusers";

bool InstallPath(const MediaCenterServices& services, const char* fileName, PathText* path) {
  return GetInstallFolder(services.registry, services.regionIndex, path) && path->Append(fileName);
}

// folder + fileName; false when it does not fit.
bool InFolder(const PathText& folder, const char* fileName, PathText* path) {
  *path = folder;
  return path->Append(fileName);
}

// "<windir>\ehome\RegisterMCEApp.exe<arguments> "<game folder>\VDRA.XML"".
// False when there is no game folder or the command does not fit.
bool RegisterCommand(const MediaCenterServices& services, const char* arguments, PathText* command) {
  PathText description;
  if (!InstallPath(services, kDescriptionFile, &description)) return false;
  char windows[PathText::kCapacity] = "";
  std::uint32_t length = services.system.ReadEnvironmentVariable("windir", windows, sizeof windows);
  // A value too long for the buffer leaves it undefined: no command is built from it.
  if (length >= sizeof windows) return false;
  return command->Append(windows, length) && command->Append(kRegisterTool) && command->Append(arguments) &&
         command->Append(" \"") && command->Append(description.c_str()) && command->Append("\"");
}

// Starts a command shown normally; waits for its end when asked. The handles
// are closed in every case.
void StartRegisterTool(const MediaCenterServices& services, const PathText& command, bool wait) {
  platform::StartedProcess started;
  if (!services.processes.StartProcess(command.c_str(), platform::kSwShowNormal, &started)) return;
  if (wait) services.processes.WaitForProcess(started.process, platform::kInfinite);
  services.processes.CloseKernelHandle(started.thread);
  services.processes.CloseKernelHandle(started.process);
}

void WriteFiles(const MediaCenterServices& services) {
  struct Row {
    const char* resource;
    const char* file;
    bool description;
  };
  static constexpr Row kRows[] = {{kDescriptionResource, kDescriptionFile, true}, {kTileResource, kTileFile, false}};
  for (const Row& row : kRows) {
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    if (!services.resources.LoadCustomResource(row.resource, kBinaryResourceType, &data, &size)) continue;
    PathText folder;
    PathText path;
    if (!GetInstallFolder(services.registry, services.regionIndex, &folder) || !InFolder(folder, row.file, &path)) {
      continue;
    }
    if (!row.description) {
      services.files.WriteWholeFile(path.c_str(), data, size);
      continue;
    }
    PathText link;
    char16_t wideLink[PathText::kCapacity];
    std::vector<std::uint8_t> description;
    // The link's name as CreateShortCut saves it. A path that does not
    // convert, or a template the edit cannot use, writes no description; the
    // flow goes on.
    if (!InFolder(folder, kMediaCenterLinkFile, &link) ||
        services.shell.AnsiToWide(link.c_str(), wideLink, static_cast<int>(PathText::kCapacity)) == 0 ||
        !EditDescription(data, size, wideLink, &description)) {
      continue;
    }
    services.files.WriteWholeFile(path.c_str(), description.data(), description.size());
  }
}

void CreateLink(const MediaCenterServices& services) {
  PathText folder;
  PathText target;
  PathText link;
  if (!GetInstallFolder(services.registry, services.regionIndex, &folder) ||
      !InFolder(folder, kMediaCenterLinkTarget, &target) || !InFolder(folder, kMediaCenterLinkFile, &link)) {
    return;
  }
  if (!platform::HrSucceeded(services.shell.InitializeCom())) return;
  CreateShortCut(services.shell, target.c_str(), link.c_str(), "", kMediaCenterArguments, "");
  services.shell.UninitializeCom();
}

void DeleteInGameFolder(const MediaCenterServices& services, const char* fileName) {
  PathText path;
  if (InstallPath(services, fileName, &path)) services.files.RemoveFile(path.c_str());
}

}  // namespace

bool IsMediaCenterSystem(platform::SystemInfo& system) {
  platform::OsVersion version;
  if (!system.QueryVersion(platform::kOsVersionInfoSize, &version)) return false;
  return version.majorVersion >= 5 && version.majorVersion < 6 && system.SystemMetric(platform::kSmMediaCenter) != 0;
}

bool MediaCenterLinkExists(const MediaCenterServices& services) {
  PathText link;
  if (!InstallPath(services, kMediaCenterLinkFile, &link)) return false;
  return services.files.FileAttributes(link.c_str()) != platform::kInvalidFileAttributes;
}

void AddToMediaCenter(const MediaCenterServices& services) {
  WriteFiles(services);
  PathText command;
  if (RegisterCommand(services, kRegisterArguments, &command)) StartRegisterTool(services, command, false);
  CreateLink(services);
}

void RemoveFromMediaCenter(const MediaCenterServices& services) {
  DeleteInGameFolder(services, kMediaCenterLinkFile);
  PathText command;
  if (RegisterCommand(services, kUnregisterArguments, &command)) StartRegisterTool(services, command, true);
  DeleteInGameFolder(services, kDescriptionFile);
  DeleteInGameFolder(services, kTileFile);
}

}  // namespace configtool
