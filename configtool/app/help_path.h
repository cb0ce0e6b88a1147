// The help file's path: the program's own folder and the help file name.
#pragma once

#include <cstddef>
#include <string>

#include "platform/module_info.h"

namespace configtool {

constexpr std::size_t kPathBufferSize = 260;

// Cuts ownPath at its last backslash (or, without one, at its last forward
// slash) and appends "\" and fileName. False, leaving path empty, when the
// result would not fit kPathBufferSize characters with the terminator.
bool BuildHelpPath(const char* ownPath, const std::string& fileName, char (&path)[kPathBufferSize]);

// The same for the running program's own file name; false when that is unavailable.
bool BuildOwnHelpPath(platform::ModuleInfo& module, const std::string& fileName, char (&path)[kPathBufferSize]);

}  // namespace configtool
