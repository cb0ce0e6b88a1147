#include "platform/win32/dialog_base.h"

namespace platform::win32 {

DialogBase::~DialogBase() {
  if (window_ != nullptr) SetWindowLongPtrA(window_, DWLP_USER, 0);
}

INT_PTR DialogBase::RunModal(HWND owner) {
  return DialogBoxParamA(instance_, MAKEINTRESOURCEA(resourceId_), owner, &DialogBase::Procedure,
                         reinterpret_cast<LPARAM>(this));
}

HWND DialogBase::CreateModeless(HWND parent) {
  return CreateDialogParamA(instance_, MAKEINTRESOURCEA(resourceId_), parent, &DialogBase::Procedure,
                            reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK DialogBase::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  DialogBase* self = nullptr;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<DialogBase*>(lParam);
    self->window_ = window;
    SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<DialogBase*>(GetWindowLongPtrA(window, DWLP_USER));
  }
  if (self == nullptr) return FALSE;
  INT_PTR result = FALSE;
  try {
    result = self->Dispatch(message, wParam, lParam);
  } catch (...) {
    result = FALSE;
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, DWLP_USER, 0);
    self->window_ = nullptr;
  }
  return result;
}

INT_PTR DialogBase::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      auto found = messages_.find(message);
      if (found != messages_.end()) found->second(wParam, lParam);
      return OnInitDialog();
    }
    case WM_DESTROY:
      OnDestroy();
      break;
    case WM_COMMAND: {
      auto found = commands_.find(wParam);
      if (found != commands_.end()) {
        found->second();
        return TRUE;
      }
      break;
    }
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      auto found = notifies_.find({static_cast<int>(header->idFrom), header->code});
      if (found != notifies_.end()) {
        SetWindowLongPtrA(window_, DWLP_MSGRESULT, found->second(*header));
        return TRUE;
      }
      break;
    }
    default:
      break;
  }
  auto found = messages_.find(message);
  if (found != messages_.end()) return found->second(wParam, lParam);
  return FALSE;
}

}  // namespace platform::win32
