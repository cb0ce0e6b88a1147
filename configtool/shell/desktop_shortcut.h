// The desktop shortcut "VELDARA Test Client.LNK" that starts the game through
// the launcher "orbboot.exe" in the game folder, and the shell-link writer it
// shares with the Media Center registration.
#pragma once

#include <cstddef>

#include "platform/dialog_controls.h"
#include "platform/registry.h"
#include "platform/shell.h"

namespace configtool {

constexpr char kShortcutName[] = "VELDARA Test Client";
constexpr char kLauncherFileName[] = "orbboot.exe";

// The desktop folder's path from its item list and display name. Failures of
// the two shell calls set the last error to 1 and 2 and return their result.
// A name that does not fit size characters with its terminator is not copied:
// the result is then HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER), or for a
// failed wide conversion the HRESULT of the conversion's own last error. An
// empty name is a failure too: last error 3, and the display-name call's
// failure or else HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND).
platform::HResult GetDesktopPathSH(platform::Shell& shell, char* path, std::size_t size);

// Writes a shell link file; each step only after the previous one succeeded.
// Returns the result of the last step made. The caller initialises COM.
platform::HResult CreateShortCut(platform::Shell& shell, const char* target, const char* linkFile,
                                 const char* description, const char* arguments, const char* workingDirectory);

// The desktop link to installFolder\orbboot.exe, with COM initialised around
// it; 1 on success, 0 on failure (with a diagnostic line on standard output).
int CreateDesktopShortcut(platform::Shell& shell, const char* installFolder);

// "Create Shortcut (&S)": asks 117, looks up the game folder and reports the
// result with 118 or 119. No question answered Yes or no game folder: nothing.
void RunCreateShortcutFlow(platform::DialogControls& controls, platform::Registry& registry, int regionIndex,
                           platform::Shell& shell);

}  // namespace configtool
