// Win32 implementations of the file, system information, own-resource,
// process and thread-message seams.
#pragma once

#include <windows.h>

#include "platform/files.h"
#include "platform/module_resources.h"
#include "platform/processes.h"
#include "platform/system_info.h"
#include "platform/thread_messages.h"

namespace platform::win32 {

class Win32Files : public Files {
 public:
  bool WriteWholeFile(const char* path, const std::uint8_t* data, std::size_t size) override;
  bool RemoveFile(const char* path) override;
  std::uint32_t FileAttributes(const char* path) override;
};

class Win32SystemInfo : public SystemInfo {
 public:
  bool QueryVersion(std::uint32_t infoSize, OsVersion* version) override;
  int SystemMetric(int index) override;
  std::uint32_t ReadEnvironmentVariable(const char* name, char* buffer, std::uint32_t size) override;
};

// FindResourceA, LoadResource, LockResource and SizeofResource of one
// resource of a loaded module (a program, or a file loaded as data): its
// bytes, which live as long as the module stays loaded.
bool LoadModuleResource(HMODULE module, LPCSTR name, LPCSTR type, const std::uint8_t** data, std::size_t* size);

// The resources of one module, by default the running program's own.
class Win32ModuleResources : public ModuleResources {
 public:
  explicit Win32ModuleResources(HMODULE module = GetModuleHandleA(nullptr)) : module_(module) {}
  bool LoadCustomResource(const char* name, const char* type, const std::uint8_t** data, std::size_t* size) override;

 private:
  HMODULE module_;
};

class Win32Processes : public Processes {
 public:
  bool StartProcess(const char* commandLine, int showCommand, StartedProcess* started) override;
  bool GetExitCode(KernelHandle process, std::uint32_t* code) override;
  std::uint32_t WaitForProcess(KernelHandle process, std::uint32_t timeoutMs) override;
  void CloseKernelHandle(KernelHandle handle) override;
};

class Win32ThreadMessages : public ThreadMessages {
 public:
  bool TakeMessage(unsigned* message) override;
  void RepaintWindow(WindowId window) override;
  void ShowTopWindow(WindowId window, int showCommand) override;
};

}  // namespace platform::win32
