// DebugOutput through OutputDebugStringA.
#pragma once

#include "platform/debug_output.h"

namespace platform::win32 {

class Win32DebugOutput : public DebugOutput {
 public:
  void Write(const char* text) override;
};

}  // namespace platform::win32
