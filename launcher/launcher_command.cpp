#include "launcher/launcher_command.h"

#include <cstring>

namespace launcher {

namespace {
constexpr char kUpOneFolder[] = "\\..\\";
constexpr char kLauncherFile[] = "orbboot.exe";
}  // namespace

bool BuildLauncherCommand(const char* ownPath, char (&command)[kCommandBufferSize]) {
  command[0] = '\0';
  std::size_t length = strnlen(ownPath, kPathBufferSize);
  if (length == kPathBufferSize) return false;

  char path[kPathBufferSize];
  for (std::size_t i = 0; i < length; ++i) {
    char c = ownPath[i];
    path[i] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  }
  path[length] = '\0';

  if (length > 0 && path[length - 1] == '\\') path[--length] = '\0';
  if (char* lastSeparator = std::strrchr(path, '\\')) {
    *lastSeparator = '\0';
    length = static_cast<std::size_t>(lastSeparator - path);
  }

  const std::size_t needed = length + (sizeof kUpOneFolder - 1) + (sizeof kLauncherFile - 1) + 1;
  if (needed > kCommandBufferSize) return false;
  std::memcpy(command, path, length);
  std::memcpy(command + length, kUpOneFolder, sizeof kUpOneFolder - 1);
  std::memcpy(command + length + sizeof kUpOneFolder - 1, kLauncherFile, sizeof kLauncherFile);
  return true;
}

int RunLauncherStub(platform::ModuleInfo& module, platform::CommandStarter& starter) {
  if (!module.HasOwnModule()) return 0;
  char path[kPathBufferSize];
  if (module.GetOwnFileName(path, sizeof path) == 0) return 0;
  char command[kCommandBufferSize];
  if (!BuildLauncherCommand(path, command)) return 0;
  starter.StartCommand(command, platform::kShow);
  return 0;
}

}  // namespace launcher
