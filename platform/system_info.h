// What the program asks of the system about itself: the Windows version,
// system metrics and environment variables.
#pragma once

#include <cstdint>

namespace platform {

constexpr std::uint32_t kOsVersionInfoSize = 148;  // sizeof(OSVERSIONINFOA)
constexpr int kSmMediaCenter = 87;                 // SM_MEDIACENTER

// The OSVERSIONINFOA fields the program reads.
struct OsVersion {
  std::uint32_t majorVersion = 0;
  std::uint32_t minorVersion = 0;
  std::uint32_t buildNumber = 0;
  std::uint32_t platformId = 0;
};

class SystemInfo {
 public:
  virtual ~SystemInfo() = default;
  // GetVersionExA of a record whose dwOSVersionInfoSize is infoSize; false when it failed.
  virtual bool QueryVersion(std::uint32_t infoSize, OsVersion* version) = 0;
  // GetSystemMetrics(index).
  virtual int SystemMetric(int index) = 0;
  // GetEnvironmentVariableA(name, buffer, size): the value's length without the
  // terminator; the size needed with the terminator when the buffer is too
  // small (the buffer is then undefined); 0 when the variable is missing.
  virtual std::uint32_t ReadEnvironmentVariable(const char* name, char* buffer, std::uint32_t size) = 0;
};

}  // namespace platform
