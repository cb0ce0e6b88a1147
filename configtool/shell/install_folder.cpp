#include "configtool/shell/install_folder.h"

#include <cstring>
#include <memory>

#include "configtool/settings/region.h"

namespace configtool {

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
  if (length > 0 && value[length - 1] == '\\') --length;
  return folder->Append(value, length);
}

}  // namespace configtool
