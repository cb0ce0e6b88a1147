#include "platform/win32/system_win32.h"

#include "platform/win32/handles.h"

namespace platform::win32 {

bool Win32WindowFinder::TopLevelWindowExists(const char* className, const char* title) {
  return FindWindowA(className, title) != nullptr;
}

MutexCreation Win32NamedMutexes::Create(const char* name, bool initiallyOwned) {
  MutexCreation result;
  SetLastError(ERROR_SUCCESS);
  HANDLE mutex = CreateMutexA(nullptr, initiallyOwned ? TRUE : FALSE, name);
  result.alreadyExists = GetLastError() == ERROR_ALREADY_EXISTS;
  result.mutex = reinterpret_cast<MutexId>(mutex);
  return result;
}

bool Win32NamedMutexes::Exists(const char* name) {
  UniqueHandle mutex(OpenMutexA(0, TRUE, name));
  return static_cast<bool>(mutex);
}

void Win32NamedMutexes::ReleaseAndClose(MutexId mutex) {
  if (mutex == 0) return;
  HANDLE handle = reinterpret_cast<HANDLE>(mutex);
  ReleaseMutex(handle);
  CloseHandle(handle);
}

namespace {

class Win32RegistryKey : public RegistryKey {
 public:
  explicit Win32RegistryKey(HKEY key) : key_(key) {}
  long QueryValue(const char* name, std::uint32_t* type, void* data, std::uint32_t* size) override {
    DWORD valueType = 0;
    DWORD dataSize = size != nullptr ? *size : 0;
    LONG result = RegQueryValueExA(key_.get(), name, nullptr, &valueType, static_cast<BYTE*>(data),
                                   size != nullptr ? &dataSize : nullptr);
    if (type != nullptr) *type = valueType;
    if (size != nullptr) *size = dataSize;
    return result;
  }
  long SetValue(const char* name, std::uint32_t type, const void* data, std::uint32_t size) override {
    return RegSetValueExA(key_.get(), name, 0, type, static_cast<const BYTE*>(data), size);
  }

 private:
  UniqueKey key_;
};

}  // namespace

long Win32Registry::CreateKey(const char* subkey, std::uint32_t access, std::unique_ptr<RegistryKey>* key) {
  HKEY handle = nullptr;
  DWORD disposition = 0;
  LONG result = RegCreateKeyExA(HKEY_LOCAL_MACHINE, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                                nullptr, &handle, &disposition);
  if (result == ERROR_SUCCESS) *key = std::make_unique<Win32RegistryKey>(handle);
  return result;
}

long Win32Registry::OpenKey(const char* subkey, std::uint32_t access, std::unique_ptr<RegistryKey>* key) {
  HKEY handle = nullptr;
  LONG result = RegOpenKeyExA(HKEY_LOCAL_MACHINE, subkey, 0, access, &handle);
  if (result == ERROR_SUCCESS) *key = std::make_unique<Win32RegistryKey>(handle);
  return result;
}

}  // namespace platform::win32
