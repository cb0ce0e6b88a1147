#include "platform/win32/system_services_win32.h"

#include <cstring>
#include <vector>

#include "platform/win32/handles.h"

namespace platform::win32 {

bool Win32Files::WriteWholeFile(const char* path, const std::uint8_t* data, std::size_t size) {
  UniqueHandle file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD written = 0;
  return WriteFile(file.get(), data, static_cast<DWORD>(size), &written, nullptr) && written == size;
}

bool Win32Files::RemoveFile(const char* path) { return DeleteFileA(path) != FALSE; }

std::uint32_t Win32Files::FileAttributes(const char* path) { return GetFileAttributesA(path); }

bool Win32SystemInfo::QueryVersion(std::uint32_t infoSize, OsVersion* version) {
  // Room for the larger record, so that no size the caller names lets the system write past it.
  OSVERSIONINFOEXA info{};
  if (infoSize > sizeof info) return false;
  info.dwOSVersionInfoSize = infoSize;
  if (!GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&info))) return false;
  version->majorVersion = info.dwMajorVersion;
  version->minorVersion = info.dwMinorVersion;
  version->buildNumber = info.dwBuildNumber;
  version->platformId = info.dwPlatformId;
  return true;
}

int Win32SystemInfo::SystemMetric(int index) { return GetSystemMetrics(index); }

std::uint32_t Win32SystemInfo::ReadEnvironmentVariable(const char* name, char* buffer, std::uint32_t size) {
  return GetEnvironmentVariableA(name, buffer, size);
}

bool LoadModuleResource(HMODULE module, LPCSTR name, LPCSTR type, const std::uint8_t** data, std::size_t* size) {
  HRSRC resource = module != nullptr ? FindResourceA(module, name, type) : nullptr;
  if (resource == nullptr) return false;
  HGLOBAL loaded = LoadResource(module, resource);
  const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (bytes == nullptr) return false;
  *data = static_cast<const std::uint8_t*>(bytes);
  *size = SizeofResource(module, resource);
  return true;
}

bool Win32ModuleResources::LoadCustomResource(const char* name, const char* type, const std::uint8_t** data,
                                              std::size_t* size) {
  return LoadModuleResource(module_, name, type, data, size);
}

bool Win32Processes::StartProcess(const char* commandLine, int showCommand, StartedProcess* started) {
  // CreateProcessA may write into its command line.
  std::vector<char> command(commandLine, commandLine + std::strlen(commandLine) + 1);
  STARTUPINFOA startup{};
  static_assert(sizeof startup == kStartupInfoSize, "STARTUPINFOA is 68 bytes");
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(showCommand);
  PROCESS_INFORMATION information{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &information)) {
    return false;
  }
  started->process = reinterpret_cast<KernelHandle>(information.hProcess);
  started->thread = reinterpret_cast<KernelHandle>(information.hThread);
  return true;
}

bool Win32Processes::GetExitCode(KernelHandle process, std::uint32_t* code) {
  DWORD exitCode = 0;
  if (!GetExitCodeProcess(reinterpret_cast<HANDLE>(process), &exitCode)) return false;
  *code = exitCode;
  return true;
}

std::uint32_t Win32Processes::WaitForProcess(KernelHandle process, std::uint32_t timeoutMs) {
  return WaitForSingleObject(reinterpret_cast<HANDLE>(process), timeoutMs);
}

void Win32Processes::CloseKernelHandle(KernelHandle handle) {
  if (handle != 0) CloseHandle(reinterpret_cast<HANDLE>(handle));
}

bool Win32ThreadMessages::TakeMessage(unsigned* message) {
  MSG taken;
  if (!PeekMessageA(&taken, nullptr, 0, 0, PM_REMOVE)) return false;
  *message = taken.message;
  return true;
}

void Win32ThreadMessages::RepaintWindow(WindowId window) { UpdateWindow(reinterpret_cast<HWND>(window)); }

void Win32ThreadMessages::ShowTopWindow(WindowId window, int showCommand) {
  ShowWindow(reinterpret_cast<HWND>(window), showCommand);
}

}  // namespace platform::win32
