// Registry access below HKEY_LOCAL_MACHINE. Keys are named by their subkey
// path; an open key is an object that closes itself when destroyed. Results
// are Win32 error codes (0 = ERROR_SUCCESS).
#pragma once

#include <cstdint>
#include <memory>

namespace platform {

constexpr long kErrorSuccess = 0;
constexpr long kErrorFileNotFound = 2;
constexpr long kErrorAccessDenied = 5;
constexpr long kErrorMoreData = 234;

constexpr std::uint32_t kKeyAllAccess = 0xF003F;
constexpr std::uint32_t kKeyRead = 0x20019;

constexpr std::uint32_t kRegNone = 0;
constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegBinary = 3;
constexpr std::uint32_t kRegDword = 4;

class RegistryKey {
 public:
  virtual ~RegistryKey() = default;  // RegCloseKey
  // RegQueryValueExA: on entry *size is the room in data, on return the size
  // of the stored data. A value larger than the room gives kErrorMoreData.
  virtual long QueryValue(const char* name, std::uint32_t* type, void* data, std::uint32_t* size) = 0;
  // RegSetValueExA(key, name, 0, type, data, size).
  virtual long SetValue(const char* name, std::uint32_t type, const void* data, std::uint32_t size) = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;
  // RegCreateKeyExA(HKLM, subkey, 0, NULL, REG_OPTION_NON_VOLATILE, access, NULL, ...).
  virtual long CreateKey(const char* subkey, std::uint32_t access, std::unique_ptr<RegistryKey>* key) = 0;
  // RegOpenKeyExA(HKLM, subkey, 0, access, ...).
  virtual long OpenKey(const char* subkey, std::uint32_t access, std::unique_ptr<RegistryKey>* key) = 0;
};

}  // namespace platform
