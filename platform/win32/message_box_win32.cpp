#include "platform/win32/message_box_win32.h"

#include "platform/win32/win32_dialog_controls.h"

namespace platform::win32 {

int Win32MessageBoxes::ShowUnowned(int textId, int captionId, unsigned style) {
  std::string text = LoadResourceString(instance_, textId);
  std::string caption = LoadResourceString(instance_, captionId);
  return MessageBoxA(nullptr, text.c_str(), caption.c_str(), style);
}

}  // namespace platform::win32
