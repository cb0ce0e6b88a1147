// The game's install folder as the platform installer registered it:
// HKEY_LOCAL_MACHINE\<install root>InstallFolder, value "0015".
#pragma once

#include "configtool/shell/path_text.h"
#include "platform/registry.h"

namespace configtool {

constexpr char kInstallFolderKeyName[] = "InstallFolder";
constexpr char kInstallFolderValueName[] = "0015";

// Opens the key for full access (so a user who may not write it gets no
// folder), reads the value whatever its type and removes one trailing
// backslash. False when the key or value is missing, the value does not fit
// 260 characters with its terminator, or it names no absolute folder: a
// drive letter, a colon and a backslash, or two backslashes and a server name.
bool GetInstallFolder(platform::Registry& registry, int regionIndex, PathText* folder);

}  // namespace configtool
