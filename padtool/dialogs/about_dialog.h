// The About box (dialog 100): title, icon, version text and OK.
#pragma once

#include "platform/win32/dialog_base.h"

namespace padtool::win32 {

class AboutDialog : public platform::win32::DialogBase {
 public:
  explicit AboutDialog(HINSTANCE instance);
};

}  // namespace padtool::win32
