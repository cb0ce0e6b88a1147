// Replacements for the small system interfaces: own module, command starts,
// window look-ups and named mutexes.
#pragma once

#include <cstring>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/command_starter.h"
#include "platform/module_info.h"
#include "platform/named_mutex.h"
#include "platform/window_finder.h"

namespace fakes {

class FakeModuleInfo : public platform::ModuleInfo {
 public:
  bool hasModule = true;
  bool failFileName = false;
  std::string fileName = "C:\\Games\\Demo\\program.exe";

  bool HasOwnModule() override { return hasModule; }
  std::size_t GetOwnFileName(char* buffer, std::size_t size) override {
    if (failFileName || fileName.size() + 1 > size) return 0;
    std::memcpy(buffer, fileName.c_str(), fileName.size() + 1);
    return fileName.size();
  }
};

class FakeCommandStarter : public platform::CommandStarter {
 public:
  std::vector<std::pair<std::string, int>> started;
  unsigned result = 33;
  unsigned StartCommand(const char* commandLine, int showCommand) override {
    started.emplace_back(commandLine, showCommand);
    return result;
  }
};

class FakeWindowFinder : public platform::WindowFinder {
 public:
  // (class, title) pairs of existing windows; an empty title matches a null title query only
  // when the window was added with a title, as FindWindowA does.
  std::set<std::pair<std::string, std::string>> windows;
  int lookups = 0;
  bool TopLevelWindowExists(const char* className, const char* title) override {
    ++lookups;
    for (const auto& window : windows) {
      if (window.first != className) continue;
      if (title == nullptr || window.second == title) return true;
    }
    return false;
  }
};

class FakeNamedMutexes : public platform::NamedMutexes {
 public:
  std::map<std::string, int> existing;  // name -> handle count
  std::vector<std::string> created;
  std::vector<platform::MutexId> released;
  bool failCreate = false;

  platform::MutexCreation Create(const char* name, bool) override {
    created.emplace_back(name);
    platform::MutexCreation result;
    if (failCreate) return result;
    result.alreadyExists = existing[name]++ > 0;
    result.mutex = next_++;
    handles_[result.mutex] = name;
    return result;
  }
  bool Exists(const char* name) override {
    auto found = existing.find(name);
    return found != existing.end() && found->second > 0;
  }
  void ReleaseAndClose(platform::MutexId mutex) override {
    released.push_back(mutex);
    auto found = handles_.find(mutex);
    if (found != handles_.end()) --existing[found->second];
  }

 private:
  platform::MutexId next_ = 100;
  std::map<platform::MutexId, std::string> handles_;
};

}  // namespace fakes
