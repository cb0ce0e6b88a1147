// The calling thread's locale.
#pragma once

#include <cstdint>

namespace platform {

constexpr std::uint32_t kLocaleEnglishUnitedStates = 0x0409;

class ThreadLocale {
 public:
  virtual ~ThreadLocale() = default;
  // SetThreadLocale(locale).
  virtual bool SetThreadLocale(std::uint32_t locale) = 0;
};

}  // namespace platform
