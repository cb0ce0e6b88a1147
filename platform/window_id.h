// An opaque window identity handed between platform calls (an HWND in the
// Win32 build). The logic never looks inside it; 0 means no window.
#pragma once

#include <cstdint>

namespace platform {

using WindowId = std::uintptr_t;

}  // namespace platform
