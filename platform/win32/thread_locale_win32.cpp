#include "platform/win32/thread_locale_win32.h"

#include <windows.h>

namespace platform::win32 {

bool Win32ThreadLocale::SetThreadLocale(std::uint32_t locale) { return ::SetThreadLocale(locale) != FALSE; }

}  // namespace platform::win32
