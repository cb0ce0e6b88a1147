#include "configtool/shell/install_folder.h"

#include <cstring>
#include <memory>

#include "configtool/settings/region.h"

namespace configtool {

namespace {

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// "X:\..." or "\\server...". Everything the tool builds from the folder is
// the folder + "\name", so a value that is empty, relative ("Q", "\Games")
// or drive-relative ("C:Games") would place files below the current folder
// or at a drive's root instead of in the game folder.
bool NamesAbsoluteFolder(const char* value, std::size_t length) {
  if (length >= 3 && IsDriveLetter(value[0]) && value[1] == ':' && value[2] == '\\') return true;
  return length >= 3 && value[0] == '\\' && value[1] == '\\' && value[2] != '\\';
}

}  // namespace

bool GetInstallFolder(platform::Registry& registry, int regionIndex, PathText* folder) {
  folder->Clear();
  const char* root = InstallRegionRoot(regionIndex);
  if (root == nullptr) return false;
  PathText keyPath;
  if (!keyPath.Append(root) || !keyPath.Append(kInstallFolderKeyName)) return false;

  std::unique_ptr<platform::RegistryKey> key;
  if (registry.OpenKey(keyPath.c_str(), platform::kKeyAllAccess, &key) != platform::kErrorSuccess) return false;
  char value[PathText::kCapacity];
  std::uint32_t type = 0;
  std::uint32_t size = sizeof value;
  if (key->QueryValue(kInstallFolderValueName, &type, value, &size) != platform::kErrorSuccess) return false;
  key.reset();

  // The value need not carry its terminator; one that fills the whole buffer
  // without one is longer than a path may be.
  if (size > sizeof value) return false;
  std::size_t length = strnlen(value, size);
  if (length == sizeof value) return false;
  // Judged before the trailing backslash goes: a stored "C:\" is the drive's
  // root, which the folder + "\name" paths reach as "C:\name"; a stored "C:"
  // is whatever folder is current on drive C.
  if (!NamesAbsoluteFolder(value, length)) return false;
  if (value[length - 1] == '\\') --length;
  return folder->Append(value, length);
}

}  // namespace configtool
