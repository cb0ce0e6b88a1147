// The debugger output (OutputDebugStringA): diagnostic lines that only a
// debugger or a tracing tool sees. Tests use a recording replacement.
#pragma once

namespace platform {

class DebugOutput {
 public:
  virtual ~DebugOutput() = default;
  // OutputDebugStringA(text).
  virtual void Write(const char* text) = 0;
};

}  // namespace platform
