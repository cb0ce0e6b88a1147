// Starting programs by command line and waiting for them.
#pragma once

#include <cstdint>

namespace platform {

// An opaque kernel handle (a HANDLE in the Win32 build); 0 is none.
using KernelHandle = std::uintptr_t;

constexpr std::uint32_t kStartupInfoSize = 68;  // sizeof(STARTUPINFOA)
constexpr int kSwHide = 0;
constexpr int kSwShowNormal = 1;
constexpr int kSwShow = 5;
constexpr std::uint32_t kStillActive = 259;
constexpr std::uint32_t kInfinite = 0xFFFFFFFF;
constexpr std::uint32_t kWaitObject0 = 0;
constexpr std::uint32_t kWaitTimeout = 258;

struct StartedProcess {
  KernelHandle process = 0;
  KernelHandle thread = 0;
};

class Processes {
 public:
  virtual ~Processes() = default;
  // CreateProcessA(NULL, commandLine, NULL, NULL, FALSE, 0, NULL, NULL,
  // &startup, &information) with a zeroed STARTUPINFOA of cb 68, dwFlags
  // STARTF_USESHOWWINDOW and wShowWindow showCommand. False when it failed.
  virtual bool StartProcess(const char* commandLine, int showCommand, StartedProcess* started) = 0;
  // GetExitCodeProcess(process, code); false when it failed.
  virtual bool GetExitCode(KernelHandle process, std::uint32_t* code) = 0;
  // WaitForSingleObject(process, timeoutMs); its result.
  virtual std::uint32_t WaitForProcess(KernelHandle process, std::uint32_t timeoutMs) = 0;
  // CloseHandle(handle).
  virtual void CloseKernelHandle(KernelHandle handle) = 0;
};

}  // namespace platform
