#include "configtool/app/help_path.h"

#include <cstring>

namespace configtool {

bool BuildHelpPath(const char* ownPath, const std::string& fileName, char (&path)[kPathBufferSize]) {
  path[0] = '\0';
  std::size_t length = strnlen(ownPath, kPathBufferSize);
  if (length == kPathBufferSize) return false;

  std::size_t cut = length;
  if (const char* backslash = std::strrchr(ownPath, '\\')) {
    cut = static_cast<std::size_t>(backslash - ownPath);
  } else if (const char* slash = std::strrchr(ownPath, '/')) {
    cut = static_cast<std::size_t>(slash - ownPath);
  }
  if (cut + 1 + fileName.size() + 1 > kPathBufferSize) return false;
  std::memcpy(path, ownPath, cut);
  path[cut] = '\\';
  std::memcpy(path + cut + 1, fileName.c_str(), fileName.size() + 1);
  return true;
}

bool BuildOwnHelpPath(platform::ModuleInfo& module, const std::string& fileName, char (&path)[kPathBufferSize]) {
  path[0] = '\0';
  if (!module.HasOwnModule()) return false;
  char ownPath[kPathBufferSize];
  if (module.GetOwnFileName(ownPath, sizeof ownPath) == 0) return false;
  return BuildHelpPath(ownPath, fileName, path);
}

}  // namespace configtool
