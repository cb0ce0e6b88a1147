#include "platform/win32/win32_dialog_controls.h"

#include <vector>

namespace platform::win32 {

std::string LoadResourceString(HINSTANCE instance, int stringId) {
  char buffer[1024];
  int length = LoadStringA(instance, static_cast<UINT>(stringId), buffer, sizeof buffer);
  return length > 0 ? std::string(buffer, static_cast<std::size_t>(length)) : std::string();
}

int Win32DialogControls::GetComboSelection(int id) {
  return static_cast<int>(SendDlgItemMessageA(dialog_, id, CB_GETCURSEL, 0, 0));
}

void Win32DialogControls::SetComboSelection(int id, int index) {
  SendDlgItemMessageA(dialog_, id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

bool Win32DialogControls::IsChecked(int id) { return IsDlgButtonChecked(dialog_, id) == BST_CHECKED; }

void Win32DialogControls::SetChecked(int id, bool checked) {
  CheckDlgButton(dialog_, id, checked ? BST_CHECKED : BST_UNCHECKED);
}

void Win32DialogControls::EnableControl(int id, bool enabled) { EnableWindow(Item(id), enabled ? TRUE : FALSE); }

void Win32DialogControls::ShowControl(int id, bool visible) { ShowWindow(Item(id), visible ? SW_SHOW : SW_HIDE); }

void Win32DialogControls::SetControlText(int id, const std::string& text) {
  SetDlgItemTextA(dialog_, id, text.c_str());
}

std::string Win32DialogControls::GetControlText(int id) {
  HWND item = Item(id);
  if (item == nullptr) return {};
  int length = GetWindowTextLengthA(item);
  std::vector<char> buffer(static_cast<std::size_t>(length) + 1, '\0');
  int copied = GetWindowTextA(item, buffer.data(), length + 1);
  return std::string(buffer.data(), copied > 0 ? static_cast<std::size_t>(copied) : 0);
}

void Win32DialogControls::MoveFocus(bool previous) {
  SendMessageA(dialog_, WM_NEXTDLGCTL, previous ? 1 : 0, 0);
}

std::string Win32DialogControls::LoadString(int stringId) { return LoadResourceString(instance_, stringId); }

int Win32DialogControls::ShowMessage(int textId, int captionId, unsigned style) {
  std::string text = LoadString(textId);
  std::string caption = LoadString(captionId);
  return MessageBoxA(dialog_, text.c_str(), caption.c_str(), style);
}

void Win32DialogControls::StartTimer(unsigned id, unsigned periodMs) { SetTimer(dialog_, id, periodMs, nullptr); }

void Win32DialogControls::StopTimer(unsigned id) { KillTimer(dialog_, id); }

void Win32DialogControls::InvalidateDialog() { InvalidateRect(dialog_, nullptr, TRUE); }

void Win32DialogControls::EndDialog(int result) { ::EndDialog(dialog_, result); }

}  // namespace platform::win32
