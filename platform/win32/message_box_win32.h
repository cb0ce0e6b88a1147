// MessageBoxes with texts from the string table of one module.
#pragma once

#include <windows.h>

#include "platform/message_box.h"

namespace platform::win32 {

class Win32MessageBoxes : public MessageBoxes {
 public:
  explicit Win32MessageBoxes(HINSTANCE instance) : instance_(instance) {}
  int ShowUnowned(int textId, int captionId, unsigned style) override;

 private:
  HINSTANCE instance_;
};

}  // namespace platform::win32
