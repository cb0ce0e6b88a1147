// The running program's own module: its handle and full file name.
#pragma once

#include <cstddef>

namespace platform {

class ModuleInfo {
 public:
  virtual ~ModuleInfo() = default;
  // GetModuleHandleA(NULL) succeeded.
  virtual bool HasOwnModule() = 0;
  // GetModuleFileNameA of the own module into buffer (size in bytes, including
  // the terminator); returns the number of characters copied, 0 on failure.
  virtual std::size_t GetOwnFileName(char* buffer, std::size_t size) = 0;
};

}  // namespace platform
