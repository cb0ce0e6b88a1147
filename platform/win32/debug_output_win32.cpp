#include "platform/win32/debug_output_win32.h"

#include <windows.h>

namespace platform::win32 {

void Win32DebugOutput::Write(const char* text) { OutputDebugStringA(text); }

}  // namespace platform::win32
