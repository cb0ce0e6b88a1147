#include "platform/win32/dialog_key_router.h"

#include <commctrl.h>

#include <algorithm>

namespace platform::win32 {

namespace {

// The hook procedure gets no context of its own: it finds the innermost modal
// dialog with child dialogs of its thread here. A nested router restores the
// outer one when it ends.
thread_local DialogKeyRouter* activeRouter = nullptr;

KeyMessage KindOf(UINT message) {
  switch (message) {
    case WM_KEYDOWN:
      return KeyMessage::kKeyDown;
    case WM_CHAR:
      return KeyMessage::kChar;
    case WM_SYSCHAR:
      return KeyMessage::kSysChar;
    default:
      return KeyMessage::kOther;
  }
}

DialogKey Describe(MSG& message) {
  DialogKey key;
  key.message = KindOf(message.message);
  key.key = static_cast<unsigned>(message.wParam);
  if (key.message == KeyMessage::kKeyDown) {
    key.shift = GetKeyState(VK_SHIFT) < 0;
    key.control = GetKeyState(VK_CONTROL) < 0;
  }
  if (key.message == KeyMessage::kKeyDown || key.message == KeyMessage::kChar) {
    LRESULT code = SendMessageA(message.hwnd, WM_GETDLGCODE, message.wParam, reinterpret_cast<LPARAM>(&message));
    LRESULT wanted = DLGC_WANTMESSAGE;
    if (key.message == KeyMessage::kChar) wanted |= DLGC_WANTCHARS;
    if (key.message == KeyMessage::kKeyDown && key.key == VK_TAB) wanted |= DLGC_WANTTAB;
    key.targetWantsKey = (code & wanted) != 0;
  }
  return key;
}

// A visible, enabled button or label among the window's own controls marks
// the character as its mnemonic. The dialog's own controls end at its tab
// control, whose pages are not among them.
bool HasMnemonic(HWND window, char character) {
  for (HWND control = GetWindow(window, GW_CHILD); control != nullptr; control = GetWindow(control, GW_HWNDNEXT)) {
    if (!IsWindowVisible(control) || !IsWindowEnabled(control)) continue;
    LRESULT code = SendMessageA(control, WM_GETDLGCODE, 0, 0);
    bool label = (code & DLGC_STATIC) != 0 && (GetWindowLongA(control, GWL_STYLE) & SS_NOPREFIX) == 0;
    if ((code & DLGC_BUTTON) == 0 && !label) continue;
    char caption[256];
    int length = GetWindowTextA(control, caption, sizeof caption);
    if (length > 0 &&
        CaptionHasMnemonic(std::string_view(caption, static_cast<std::size_t>(length)), character)) {
      return true;
    }
  }
  return false;
}

// The first control of a child dialog that Tab can reach, in template order.
HWND FirstTabStop(HWND child) {
  for (HWND control = GetWindow(child, GW_CHILD); control != nullptr; control = GetWindow(control, GW_HWNDNEXT)) {
    if ((GetWindowLongA(control, GWL_STYLE) & WS_TABSTOP) != 0 && IsWindowVisible(control) &&
        IsWindowEnabled(control)) {
      return control;
    }
  }
  return nullptr;
}

}  // namespace

DialogKeyRouter::DialogKeyRouter(HWND dialog, HWND tabHost)
    : dialog_(dialog), tabHost_(tabHost), previous_(activeRouter) {
  hook_ = SetWindowsHookExA(WH_MSGFILTER, &DialogKeyRouter::Filter, nullptr, GetCurrentThreadId());
  activeRouter = this;
}

DialogKeyRouter::~DialogKeyRouter() {
  if (hook_ != nullptr) UnhookWindowsHookEx(hook_);
  activeRouter = previous_;
}

void DialogKeyRouter::AddChild(HWND child, bool leavesEnterEscToDialog) {
  if (child != nullptr) children_.push_back({child, leavesEnterEscToDialog});
}

void DialogKeyRouter::RemoveChild(HWND child) {
  children_.erase(std::remove_if(children_.begin(), children_.end(),
                                 [child](const Child& entry) { return entry.window == child; }),
                  children_.end());
}

LRESULT CALLBACK DialogKeyRouter::Filter(int code, WPARAM wParam, LPARAM lParam) noexcept {
  DialogKeyRouter* router = activeRouter;
  if (code == MSGF_DIALOGBOX && router != nullptr && lParam != 0 && router->Route(*reinterpret_cast<MSG*>(lParam))) {
    return 1;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

const DialogKeyRouter::Child* DialogKeyRouter::ChildHolding(HWND window) const {
  for (const Child& child : children_) {
    if (window == child.window || IsChild(child.window, window)) return &child;
  }
  return nullptr;
}

bool DialogKeyRouter::Route(MSG& message) {
  // IsDialogMessage of a child calls the filter again for the same key.
  if (routing_ || message.message < WM_KEYFIRST || message.message > WM_KEYLAST) return false;
  const Child* child = ChildHolding(message.hwnd);
  KeyTarget target = KeyTarget::kDialogControl;
  if (child != nullptr) {
    target = KeyTarget::kChild;
  } else if (message.hwnd == tabHost_) {
    target = KeyTarget::kTabHost;
  } else if (message.hwnd != dialog_ && !IsChild(dialog_, message.hwnd)) {
    return false;
  }
  DialogKey key = Describe(message);
  KeyContext context;
  if (child != nullptr) {
    context.leavesEnterEscToDialog = child->leavesEnterEscToDialog;
    if (key.message == KeyMessage::kChar || key.message == KeyMessage::kSysChar) {
      char character = static_cast<char>(message.wParam);
      context.childHasMnemonic = HasMnemonic(child->window, character);
      context.dialogHasMnemonic = !context.childHasMnemonic && HasMnemonic(dialog_, character);
    }
  }
  KeyRoute route = RouteDialogKey(key, target, context);
  switch (route) {
    case KeyRoute::kDialog:
      return false;
    case KeyRoute::kChild: {
      routing_ = true;
      bool handled = IsDialogMessageA(child->window, &message) != FALSE;
      routing_ = false;
      return handled;
    }
    case KeyRoute::kDialogMnemonic: {
      // As typed on the dialog itself: its mnemonic search then runs over its
      // own controls. A page is none of them (the tab control is no control
      // parent), so from a page's control the documented rule says nothing.
      MSG onDialog = message;
      onDialog.hwnd = dialog_;
      routing_ = true;
      IsDialogMessageA(dialog_, &onDialog);
      routing_ = false;
      return true;
    }
    case KeyRoute::kDialogOk:
    case KeyRoute::kDialogCancel: {
      int command = route == KeyRoute::kDialogOk ? IDOK : IDCANCEL;
      SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(command, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(dialog_, command)));
      return true;
    }
    case KeyRoute::kIntoChild:
      return FocusVisibleChild();
    case KeyRoute::kNextTab:
    case KeyRoute::kPreviousTab:
      SelectAdjacentTab(route == KeyRoute::kPreviousTab);
      return true;
  }
  return false;
}

bool DialogKeyRouter::FocusVisibleChild() {
  for (const Child& child : children_) {
    if (!IsWindowVisible(child.window)) continue;
    HWND first = FirstTabStop(child.window);
    if (first == nullptr) return false;
    // As Tab inside the child would: the child's dialog manager moves the focus.
    SendMessageA(child.window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
    return true;
  }
  return false;
}

void DialogKeyRouter::SelectAdjacentTab(bool backwards) {
  if (tabHost_ == nullptr) return;
  int count = static_cast<int>(SendMessageA(tabHost_, TCM_GETITEMCOUNT, 0, 0));
  int next = AdjacentTab(static_cast<int>(SendMessageA(tabHost_, TCM_GETCURSEL, 0, 0)), count, backwards);
  if (next < 0) return;
  // TCM_SETCURSEL tells nobody: the notifications a click sends go first and last.
  NMHDR header{tabHost_, static_cast<UINT_PTR>(GetDlgCtrlID(tabHost_)), static_cast<UINT>(TCN_SELCHANGING)};
  HWND parent = GetParent(tabHost_);
  if (SendMessageA(parent, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header)) != 0) return;
  SendMessageA(tabHost_, TCM_SETCURSEL, static_cast<WPARAM>(next), 0);
  header.code = static_cast<UINT>(TCN_SELCHANGE);
  SendMessageA(parent, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

}  // namespace platform::win32
