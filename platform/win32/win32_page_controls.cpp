#include "platform/win32/win32_page_controls.h"

#include <commctrl.h>

namespace platform::win32 {

bool Win32PageControls::HasControl(int id) { return Item(id) != nullptr; }

void Win32PageControls::ResetCombo(int id) { SendDlgItemMessageA(dialog_, id, CB_RESETCONTENT, 0, 0); }

int Win32PageControls::InsertComboItem(int id, int index, const std::string& text) {
  LRESULT inserted = SendDlgItemMessageA(dialog_, id, CB_INSERTSTRING, static_cast<WPARAM>(index),
                                         reinterpret_cast<LPARAM>(text.c_str()));
  return inserted < 0 ? -1 : static_cast<int>(inserted);
}

void Win32PageControls::SetTrackbarMin(int id, int minimum, bool redraw) {
  SendDlgItemMessageA(dialog_, id, TBM_SETRANGEMIN, redraw ? TRUE : FALSE, minimum);
}

void Win32PageControls::SetTrackbarMax(int id, int maximum, bool redraw) {
  SendDlgItemMessageA(dialog_, id, TBM_SETRANGEMAX, redraw ? TRUE : FALSE, maximum);
}

void Win32PageControls::SetTrackbarPosition(int id, int position, bool redraw) {
  SendDlgItemMessageA(dialog_, id, TBM_SETPOS, redraw ? TRUE : FALSE, position);
}

int Win32PageControls::GetTrackbarPosition(int id) {
  return static_cast<int>(SendDlgItemMessageA(dialog_, id, TBM_GETPOS, 0, 0));
}

}  // namespace platform::win32
