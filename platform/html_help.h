// HTML Help: showing a compiled help file (.chm) through the HTML Help viewer.
#pragma once

#include <cstdint>

namespace platform {

constexpr unsigned kHhDisplayTopic = 0x0000;  // HH_DISPLAY_TOPIC

class HtmlHelp {
 public:
  virtual ~HtmlHelp() = default;
  // HtmlHelpA(owner, file, command, data) from hhctrl.ocx; returns the viewer's
  // window handle as a number, 0 when the viewer is missing or refused.
  virtual std::uintptr_t Show(std::uintptr_t ownerWindow, const char* file, unsigned command,
                              std::uintptr_t data) = 0;
};

}  // namespace platform
