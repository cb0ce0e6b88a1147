// Named kernel mutexes used to keep a program to a single instance.
#pragma once

#include <cstdint>

namespace platform {

using MutexId = std::uintptr_t;  // 0 = no mutex

struct MutexCreation {
  MutexId mutex = 0;         // the handle, 0 when CreateMutexA failed
  bool alreadyExists = false;  // GetLastError() was ERROR_ALREADY_EXISTS
};

class NamedMutexes {
 public:
  virtual ~NamedMutexes() = default;
  // CreateMutexA(NULL, initiallyOwned, name) and the last error right after it.
  virtual MutexCreation Create(const char* name, bool initiallyOwned) = 0;
  // OpenMutexA(0, TRUE, name): whether a mutex of that name exists. The handle
  // is closed again at once.
  virtual bool Exists(const char* name) = 0;
  // ReleaseMutex and CloseHandle.
  virtual void ReleaseAndClose(MutexId mutex) = 0;
};

}  // namespace platform
