// HTML Help (hhctrl.ocx through HtmlHelpA), loaded on demand.
#pragma once

#include <cstdint>

#include "platform/window_id.h"

namespace platform {

constexpr unsigned kHhDisplayTopic = 0x0000;
constexpr unsigned kHhInitialize = 0x001C;

class HtmlHelp {
 public:
  virtual ~HtmlHelp() = default;
  // HtmlHelpA(NULL, NULL, HH_INITIALIZE, cookie); false when HTML Help is unavailable.
  virtual bool Initialize(std::uint32_t* cookie) = 0;
  // HtmlHelpA(owner, file, HH_DISPLAY_TOPIC, 0); false when no viewer window was opened.
  virtual bool DisplayTopic(WindowId owner, const char* file) = 0;
};

}  // namespace platform
