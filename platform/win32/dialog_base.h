// Minimal modal/modeless dialog base. The dialog procedure keeps `this` in
// DWLP_USER from WM_INITDIALOG to WM_NCDESTROY and dispatches through tables
// that derived classes fill in their constructors.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <utility>

namespace platform::win32 {

class DialogBase {
 public:
  using MessageHandler = std::function<INT_PTR(WPARAM, LPARAM)>;
  using CommandHandler = std::function<void()>;
  using NotifyHandler = std::function<LRESULT(const NMHDR&)>;

  DialogBase(HINSTANCE instance, int resourceId) : instance_(instance), resourceId_(resourceId) {}
  virtual ~DialogBase();
  DialogBase(const DialogBase&) = delete;
  DialogBase& operator=(const DialogBase&) = delete;

  // DialogBoxParamA; returns the EndDialog result, -1 when the dialog could not be created.
  INT_PTR RunModal(HWND owner);
  // CreateDialogParamA as a child or owned window.
  HWND CreateModeless(HWND parent);

  HWND Window() const { return window_; }
  HINSTANCE Instance() const { return instance_; }

 protected:
  // Handler for a message number; its result is the dialog procedure's result
  // (FALSE asks for default handling).
  void OnMessage(UINT message, MessageHandler handler) { messages_[message] = std::move(handler); }
  // Handler for WM_COMMAND from control id with a notification code.
  void OnCommand(int id, int notification, CommandHandler handler) {
    commands_[MAKEWPARAM(id, notification)] = std::move(handler);
  }
  // Handler for WM_NOTIFY; its result goes to DWLP_MSGRESULT.
  void OnNotify(int idFrom, UINT code, NotifyHandler handler) {
    notifies_[{idFrom, code}] = std::move(handler);
  }
  // Called for WM_INITDIALOG after the window is known; the result is returned
  // to the system (TRUE lets it set the focus).
  virtual INT_PTR OnInitDialog() { return TRUE; }
  // Last chance before the window goes away (WM_DESTROY).
  virtual void OnDestroy() {}

 private:
  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

  HINSTANCE instance_;
  int resourceId_;
  HWND window_ = nullptr;
  std::map<UINT, MessageHandler> messages_;
  std::map<WPARAM, CommandHandler> commands_;
  std::map<std::pair<int, UINT>, NotifyHandler> notifies_;
};

}  // namespace platform::win32
