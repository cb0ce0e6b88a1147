#include "platform/win32/main_dialog_controls_win32.h"

#include <commctrl.h>

#include <vector>

namespace platform::win32 {

namespace {

// A modal child dialog that only closes on OK and Cancel.
INT_PTR CALLBACK PlainDialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM) noexcept {
  switch (message) {
    case WM_INITDIALOG:
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
        ::EndDialog(window, LOWORD(wParam));
        return TRUE;
      }
      break;
    default:
      break;
  }
  return FALSE;
}

}  // namespace

WindowId Win32MainDialogControls::DialogWindow() { return reinterpret_cast<WindowId>(dialog_); }

WindowId Win32MainDialogControls::ControlWindow(int id) { return reinterpret_cast<WindowId>(Item(id)); }

bool Win32MainDialogControls::HasSystemMenu() { return GetSystemMenu(dialog_, FALSE) != nullptr; }

void Win32MainDialogControls::AppendSystemMenuSeparator() {
  AppendMenuA(GetSystemMenu(dialog_, FALSE), MF_SEPARATOR, 0, nullptr);
}

void Win32MainDialogControls::AppendSystemMenuItem(unsigned command, const std::string& text) {
  AppendMenuA(GetSystemMenu(dialog_, FALSE), MF_STRING, command, text.c_str());
}

void Win32MainDialogControls::DeleteSystemMenuCommand(unsigned command) {
  DeleteMenu(GetSystemMenu(dialog_, FALSE), command, MF_BYCOMMAND);
}

void Win32MainDialogControls::SetWindowIcon(bool big) {
  SendMessageA(dialog_, WM_SETICON, big ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
}

void Win32MainDialogControls::InsertTab(int tabControlId, int index, const std::string& text) {
  std::vector<char> buffer(text.begin(), text.end());
  buffer.push_back('\0');
  TCITEMA item{};
  item.mask = TCIF_TEXT;
  item.pszText = buffer.data();
  SendDlgItemMessageA(dialog_, tabControlId, TCM_INSERTITEMA, static_cast<WPARAM>(index),
                      reinterpret_cast<LPARAM>(&item));
}

int Win32MainDialogControls::GetTabSelection(int tabControlId) {
  return static_cast<int>(SendDlgItemMessageA(dialog_, tabControlId, TCM_GETCURSEL, 0, 0));
}

void Win32MainDialogControls::RunModalDialog(int dialogId) {
  DialogBoxParamA(instance_, MAKEINTRESOURCEA(dialogId), dialog_, &PlainDialogProcedure, 0);
}

}  // namespace platform::win32
