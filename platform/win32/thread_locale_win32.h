// ThreadLocale on SetThreadLocale.
#pragma once

#include "platform/thread_locale.h"

namespace platform::win32 {

class Win32ThreadLocale : public ThreadLocale {
 public:
  bool SetThreadLocale(std::uint32_t locale) override;
};

}  // namespace platform::win32
