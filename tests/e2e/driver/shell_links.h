// Driver helpers for shell links: a link file read back through the shell
// link object, and the desktop folder of the prefix's user.
#pragma once

#include <optional>
#include <string>

namespace e2e {

struct ShellLinkFields {
  std::string target;
  std::string arguments;
  std::string workingDirectory;
  std::string description;
};

// IPersistFile::Load of the link file, then the IShellLinkA fields; nothing
// when the file is missing or no link.
std::optional<ShellLinkFields> ReadShellLink(const std::string& path);

// The desktop folder of the prefix's user (CSIDL_DESKTOPDIRECTORY).
std::string DesktopFolder();

}  // namespace e2e
