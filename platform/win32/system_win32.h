// Win32 implementations of the small system interfaces of platform/.
#pragma once

#include <windows.h>

#include "platform/command_starter.h"
#include "platform/module_info.h"
#include "platform/named_mutex.h"
#include "platform/registry.h"
#include "platform/window_finder.h"

namespace platform::win32 {

class Win32ModuleInfo : public ModuleInfo {
 public:
  bool HasOwnModule() override;
  std::size_t GetOwnFileName(char* buffer, std::size_t size) override;
};

class Win32CommandStarter : public CommandStarter {
 public:
  unsigned StartCommand(const char* commandLine, int showCommand) override;
};

class Win32WindowFinder : public WindowFinder {
 public:
  bool TopLevelWindowExists(const char* className, const char* title) override;
};

class Win32NamedMutexes : public NamedMutexes {
 public:
  MutexCreation Create(const char* name, bool initiallyOwned) override;
  bool Exists(const char* name) override;
  void ReleaseAndClose(MutexId mutex) override;
};

class Win32Registry : public Registry {
 public:
  long CreateKey(const char* subkey, std::uint32_t access, std::unique_ptr<RegistryKey>* key) override;
  long OpenKey(const char* subkey, std::uint32_t access, std::unique_ptr<RegistryKey>* key) override;
};

}  // namespace platform::win32
