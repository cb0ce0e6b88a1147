// Replacements for the file, system information, own-resource, process and
// thread-message seams. Files live in a map; processes end after a scripted
// number of exit-code queries. Calls that matter for order go to an optional
// journal shared with other fakes.
#pragma once

#include <cstdint>
#include <cstring>
#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/module_resources.h"
#include "platform/processes.h"
#include "platform/system_info.h"
#include "platform/thread_messages.h"

namespace fakes {

inline void JournalLog(std::vector<std::string>* journal, const std::string& call) {
  if (journal != nullptr) journal->push_back(call);
}

class FakeFiles : public platform::Files {
 public:
  std::map<std::string, std::vector<std::uint8_t>> files;
  std::vector<std::string>* journal = nullptr;

  bool WriteWholeFile(const char* path, const std::uint8_t* data, std::size_t size) override {
    JournalLog(journal, std::string("WriteFile(") + path + ")");
    files[path] = std::vector<std::uint8_t>(data, data + size);
    return true;
  }
  bool RemoveFile(const char* path) override {
    JournalLog(journal, std::string("DeleteFile(") + path + ")");
    return files.erase(path) != 0;
  }
  std::uint32_t FileAttributes(const char* path) override {
    return files.count(path) ? 0x20u : platform::kInvalidFileAttributes;  // FILE_ATTRIBUTE_ARCHIVE
  }
  std::string Text(const std::string& path) const {
    auto found = files.find(path);
    return found == files.end() ? std::string() : std::string(found->second.begin(), found->second.end());
  }
};

class FakeSystemInfo : public platform::SystemInfo {
 public:
  bool versionSucceeds = true;
  platform::OsVersion version{5, 1, 2600, 2};
  std::map<int, int> metrics;
  std::map<std::string, std::string> environment{{"windir", "C:\\WINDOWS"}};
  std::vector<std::uint32_t> versionInfoSizes;  // sizes asked for

  bool QueryVersion(std::uint32_t infoSize, platform::OsVersion* result) override {
    versionInfoSizes.push_back(infoSize);
    if (!versionSucceeds) return false;
    *result = version;
    return true;
  }
  int SystemMetric(int index) override { return metrics.count(index) ? metrics[index] : 0; }
  std::uint32_t ReadEnvironmentVariable(const char* name, char* buffer, std::uint32_t size) override {
    auto found = environment.find(name);
    if (found == environment.end()) return 0;
    const std::string& value = found->second;
    if (value.size() + 1 > size) return static_cast<std::uint32_t>(value.size() + 1);
    std::memcpy(buffer, value.c_str(), value.size() + 1);
    return static_cast<std::uint32_t>(value.size());
  }
};

class FakeModuleResources : public platform::ModuleResources {
 public:
  // (name, type) -> bytes
  std::map<std::pair<std::string, std::string>, std::vector<std::uint8_t>> resources;

  bool LoadCustomResource(const char* name, const char* type, const std::uint8_t** data, std::size_t* size) override {
    auto found = resources.find({name, type});
    if (found == resources.end()) return false;
    *data = found->second.data();
    *size = found->second.size();
    return true;
  }
};

class FakeProcesses : public platform::Processes {
 public:
  struct Start {
    std::string commandLine;
    int showCommand;
  };
  bool startSucceeds = true;
  // Exit-code queries that still answer STILL_ACTIVE before the process has ended.
  int queriesWhileRunning = 0;
  std::uint32_t exitCode = 0;
  bool exitCodeFails = false;
  std::vector<Start> starts;
  std::vector<std::uint32_t> waits;  // time-outs of every wait
  std::set<platform::KernelHandle> open;
  std::vector<std::string>* journal = nullptr;

  bool StartProcess(const char* commandLine, int showCommand, platform::StartedProcess* started) override {
    JournalLog(journal, std::string("StartProcess(") + commandLine + "," + std::to_string(showCommand) + ")");
    starts.push_back({commandLine, showCommand});
    if (!startSucceeds) return false;
    started->process = next_++;
    started->thread = next_++;
    open.insert(started->process);
    open.insert(started->thread);
    return true;
  }
  bool GetExitCode(platform::KernelHandle process, std::uint32_t* code) override {
    if (exitCodeFails || !open.count(process)) return false;
    *code = queriesWhileRunning-- > 0 ? platform::kStillActive : exitCode;
    return true;
  }
  std::uint32_t WaitForProcess(platform::KernelHandle, std::uint32_t timeoutMs) override {
    JournalLog(journal, "WaitForProcess(" + std::to_string(timeoutMs) + ")");
    waits.push_back(timeoutMs);
    return timeoutMs == platform::kInfinite ? platform::kWaitObject0 : platform::kWaitTimeout;
  }
  void CloseKernelHandle(platform::KernelHandle handle) override {
    JournalLog(journal, "CloseHandle");
    open.erase(handle);
  }

 private:
  platform::KernelHandle next_ = 0x100;
};

class FakeThreadMessages : public platform::ThreadMessages {
 public:
  std::deque<unsigned> queue;      // messages waiting in the queue
  std::vector<std::string> calls;  // "Take", "Repaint(w)", "Show(w,cmd)"

  bool TakeMessage(unsigned* message) override {
    if (queue.empty()) return false;
    calls.push_back("Take(" + std::to_string(queue.front()) + ")");
    *message = queue.front();
    queue.pop_front();
    return true;
  }
  void RepaintWindow(platform::WindowId window) override { calls.push_back("Repaint(" + std::to_string(window) + ")"); }
  void ShowTopWindow(platform::WindowId window, int showCommand) override {
    calls.push_back("Show(" + std::to_string(window) + "," + std::to_string(showCommand) + ")");
  }
};

}  // namespace fakes
