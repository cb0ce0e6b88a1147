// Builds and starts the command of the launcher stub: the platform launcher
// "orbboot.exe" one folder above the stub's own folder.
#pragma once

#include <cstddef>

#include "platform/command_starter.h"
#include "platform/module_info.h"

namespace launcher {

constexpr std::size_t kPathBufferSize = 260;     // GetModuleFileNameA limit
constexpr std::size_t kCommandBufferSize = 264;  // directory + "\..\" + "orbboot.exe" + terminator

// Turns the stub's own file name into the launcher command: the path
// upper-cased, one trailing backslash dropped, cut at its last backslash, then
// "\..\orbboot.exe" appended. Returns false, leaving command empty, when the
// result does not fit kCommandBufferSize bytes.
bool BuildLauncherCommand(const char* ownPath, char (&command)[kCommandBufferSize]);

// The whole stub: find the own file name, build the command and start it with
// SW_SHOW without waiting. Returns the exit code, always 0.
int RunLauncherStub(platform::ModuleInfo& module, platform::CommandStarter& starter);

}  // namespace launcher
