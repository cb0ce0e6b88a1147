#include "padtool/dialogs/pad_config_window.h"

#include <cstdio>

#include "padtool/resources/resource.h"

namespace padtool::win32 {

namespace {

// Marks the main dialog window for the key filter, which runs in the modal
// loop before the dialog manager sees a message.
constexpr char kKeyFilterProperty[] = "VdraPadKeyFilter";
constexpr UINT kAboutCommand = 0x10;
constexpr int kFunctionCombos[] = {IDC_FUNC_SELECT_CONFIRM, IDC_FUNC_CANCEL,       IDC_FUNC_ACTIVE_WINDOW,
                                   IDC_FUNC_MAIN_MENU,      IDC_FUNC_AUTORUN,      IDC_FUNC_MACRO_CTRL,
                                   IDC_FUNC_MACRO_ALT,      IDC_FUNC_LOGOUT,       IDC_FUNC_HIDE_MENUS,
                                   IDC_FUNC_HEAL_LOCK,      IDC_FUNC_CHANGE_VIEW,  IDC_FUNC_SCREENSHOT,
                                   IDC_FUNC_MENUS_WITH_MOVEMENT, IDC_FUNC_CAMERA_WITH_MOVEMENT,
                                   IDC_FUNC_TOGGLE_DIRECTIONAL};
constexpr int kClickedControls[] = {IDC_ENABLE_GAMEPAD, IDC_ENABLE_SLIDER, IDC_ENABLE_HAT_SWITCHES,
                                    IDC_ENABLE_FORCE_FEEDBACK, IDC_MOVEMENT, IDC_CAMERA, IDC_MENUS,
                                    IDC_DEFAULT_SETUP, IDC_SETUP_A, IDC_SETUP_B, IDC_SETUP_C,
                                    IDC_TEST_GAMEPAD, IDC_HELP_BUTTON};

bool SwallowedKey(UINT message, WPARAM wParam) {
  if (message == WM_KEYDOWN) return PadConfigDialog::SwallowsKeyDown(static_cast<unsigned>(wParam));
  if (message == WM_CHAR) return PadConfigDialog::SwallowsCharacter(static_cast<unsigned>(wParam));
  return false;
}

// VELDARA Config starts this program with STARTF_USESHOWWINDOW and SW_HIDE.
// Windows applies a starter's show command to the first ShowWindow of the
// process, which would be the dialog manager's own show of this dialog, or a
// message box shown while the dialog initialises, and keep it hidden. That
// first show is spent here, before anything can show a message, so the
// dialog manager's show after initialisation displays the dialog.
void SpendHiddenStartShow(HWND window) {
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  GetStartupInfoA(&startup);
  if ((startup.dwFlags & STARTF_USESHOWWINDOW) != 0 && startup.wShowWindow == SW_HIDE) {
    ShowWindow(window, SW_SHOWNORMAL);
  }
}

}  // namespace

PadConfigWindow::PadConfigWindow(HINSTANCE instance, const PadWindowServices& services)
    : DialogBase(instance, IDD_PADCONFIG_DIALOG),
      controls_(instance, nullptr),
      logic_(PadConfigServices{controls_, services.registry, services.windows, services.module, services.help,
                               services.directInput, services.children}),
      icon_(LoadIconA(instance, MAKEINTRESOURCEA(IDI_PAD))),
      smallIcon_(static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(IDI_PAD), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0))) {
  for (int combo : kFunctionCombos) {
    OnCommand(combo, CBN_SETFOCUS, [this, combo] { logic_.OnFunctionFocus(combo); });
    OnCommand(combo, CBN_SELCHANGE, [this, combo] { logic_.OnFunctionSelectionChanged(combo); });
    OnCommand(combo, CBN_KILLFOCUS, [this, combo] { logic_.OnFunctionFocusLost(combo); });
  }
  for (const ButtonHelp& entry : kButtonHelpTable) {
    if (entry.id == 0) break;
    // During the focus loss the focus already belongs to the receiving window.
    OnCommand(entry.id, BN_KILLFOCUS, [this] { logic_.OnFocusLeaving(ControlIdOf(GetFocus())); });
  }
  for (int id : kClickedControls) {
    OnCommand(id, BN_CLICKED, [this, id] { logic_.OnClicked(id); });
  }
  OnCommand(IDOK, BN_CLICKED, [this] { logic_.OnOk(); });
  OnCommand(IDCANCEL, BN_CLICKED, [this] { logic_.OnOk(); });

  OnMessage(WM_TIMER, [this](WPARAM, LPARAM) -> INT_PTR {
    logic_.OnTimer();
    return FALSE;
  });
  OnMessage(WM_KILLFOCUS, [this](WPARAM wParam, LPARAM) -> INT_PTR {
    logic_.OnFocusLeaving(ControlIdOf(reinterpret_cast<HWND>(wParam)));
    return FALSE;
  });
  OnMessage(WM_KEYDOWN, [](WPARAM wParam, LPARAM) -> INT_PTR { return SwallowedKey(WM_KEYDOWN, wParam); });
  OnMessage(WM_CHAR, [](WPARAM wParam, LPARAM) -> INT_PTR { return SwallowedKey(WM_CHAR, wParam); });
  OnMessage(WM_HELP, [](WPARAM, LPARAM) -> INT_PTR { return TRUE; });  // F1 opens nothing
  OnMessage(WM_SYSCOMMAND, [this](WPARAM wParam, LPARAM) -> INT_PTR {
    return logic_.OnSystemCommand(static_cast<unsigned>(wParam)) ? TRUE : FALSE;
  });
  OnMessage(WM_PAINT, [this](WPARAM, LPARAM) -> INT_PTR { return PaintMinimised(); });
  OnMessage(WM_QUERYDRAGICON, [this](WPARAM, LPARAM) -> INT_PTR { return reinterpret_cast<INT_PTR>(icon_); });
}

PadConfigWindow::~PadConfigWindow() {
  if (keyFilter_ != nullptr) UnhookWindowsHookEx(keyFilter_);
  if (smallIcon_ != nullptr) DestroyIcon(smallIcon_);
}

INT_PTR PadConfigWindow::OnInitDialog() {
  HWND window = Window();
  controls_.SetWindow(window);
  FillFunctionCombos();
  AddAboutToSystemMenu();
  SendMessageA(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
  SendMessageA(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_ != nullptr ? smallIcon_ : icon_));
  SetPropA(window, kKeyFilterProperty, reinterpret_cast<HANDLE>(1));
  keyFilter_ = SetWindowsHookExA(WH_MSGFILTER, &PadConfigWindow::KeyFilter, nullptr, GetCurrentThreadId());
  SpendHiddenStartShow(window);
  logic_.Initialise(reinterpret_cast<platform::WindowId>(window), reinterpret_cast<platform::ModuleToken>(Instance()));
  return TRUE;
}

void PadConfigWindow::OnDestroy() {
  logic_.Destroy();
  if (keyFilter_ != nullptr) {
    UnhookWindowsHookEx(keyFilter_);
    keyFilter_ = nullptr;
  }
  RemovePropA(Window(), kKeyFilterProperty);
}

void PadConfigWindow::FillFunctionCombos() {
  char item[16];
  for (int combo : kFunctionCombos) {
    HWND list = GetDlgItem(Window(), combo);
    // 495 items: without redrawing, the list does not rework its scroll bar after each one.
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    for (int button = 1; button <= kButtonItemCount; ++button) {
      std::snprintf(item, sizeof item, "Button %d", button);
      SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    }
    SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(" "));
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  }
}

void PadConfigWindow::AddAboutToSystemMenu() {
  HMENU menu = GetSystemMenu(Window(), FALSE);
  if (menu == nullptr) return;
  const std::string text = controls_.LoadString(IDS_ABOUTBOX);
  if (text.empty()) return;
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(menu, MF_STRING, kAboutCommand, text.c_str());
}

int PadConfigWindow::ControlIdOf(HWND window) const {
  if (window == nullptr || GetParent(window) != Window()) return 0;
  return GetDlgCtrlID(window);
}

INT_PTR PadConfigWindow::PaintMinimised() {
  HWND window = Window();
  if (!IsIconic(window)) return FALSE;
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  SendMessageA(window, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT client;
  GetClientRect(window, &client);
  const int x = (client.right - client.left - GetSystemMetrics(SM_CXICON) + 1) / 2;
  const int y = (client.bottom - client.top - GetSystemMetrics(SM_CYICON) + 1) / 2;
  DrawIcon(dc, x, y, icon_);
  EndPaint(window, &paint);
  return TRUE;
}

LRESULT CALLBACK PadConfigWindow::KeyFilter(int code, WPARAM wParam, LPARAM lParam) {
  if (code == MSGF_DIALOGBOX) {
    const MSG* message = reinterpret_cast<const MSG*>(lParam);
    if (message != nullptr && SwallowedKey(message->message, message->wParam) &&
        GetPropA(message->hwnd, kKeyFilterProperty) != nullptr) {
      return 1;
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace padtool::win32
