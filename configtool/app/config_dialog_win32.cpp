#include "configtool/app/config_dialog_win32.h"

#include <commctrl.h>

#include "configtool/resources/resource.h"

namespace configtool {

ConfigDialogWindow::ConfigDialogWindow(HINSTANCE instance, ConfigApp& app, const ConfigDialogSystem& system)
    : DialogBase(instance, IDD_CONFIG_DIALOG),
      icon_(LoadIconA(instance, MAKEINTRESOURCEA(IDI_CONFIG))),
      controls_(instance, icon_),
      pages_(instance, app, system.pages),
      logic_(app, controls_,
             ConfigDialogServices{system.direct3d, system.registry, system.windows, system.module, system.help,
                                  pages_}) {
  OnCommand(IDOK, BN_CLICKED, [this] { logic_.OnOk(); });
  OnCommand(IDCANCEL, BN_CLICKED, [this] { logic_.OnCancel(); });
  OnCommand(IDC_DEFAULT, BN_CLICKED, [this] { logic_.OnDefault(); });
  OnCommand(IDC_HELP_BUTTON, BN_CLICKED, [this] { logic_.OnHelp(); });
  OnNotify(IDC_TAB, TCN_SELCHANGING, [this](const NMHDR&) { return static_cast<LRESULT>(logic_.OnTabSelChanging()); });
  OnNotify(IDC_TAB, TCN_SELCHANGE, [this](const NMHDR&) { return static_cast<LRESULT>(logic_.OnTabSelChange()); });
  OnMessage(WM_HELP, [this](WPARAM, LPARAM) -> INT_PTR {
    logic_.OnHelp();
    return TRUE;
  });
  OnMessage(WM_TIMER, [this](WPARAM id, LPARAM) -> INT_PTR {
    logic_.OnTimer(static_cast<unsigned>(id));
    return FALSE;
  });
  OnMessage(WM_SYSCOMMAND, [this](WPARAM command, LPARAM) -> INT_PTR {
    return logic_.OnSysCommand(static_cast<unsigned>(command)) ? TRUE : FALSE;
  });
  OnMessage(WM_PAINT, [this](WPARAM, LPARAM) { return OnPaint(); });
  OnMessage(WM_QUERYDRAGICON, [this](WPARAM, LPARAM) { return reinterpret_cast<INT_PTR>(icon_); });
}

void ConfigDialogWindow::RunModal() { DialogBase::RunModal(nullptr); }

INT_PTR ConfigDialogWindow::OnInitDialog() {
  controls_.SetWindow(Window());
  HWND tab = GetDlgItem(Window(), IDC_TAB);
  pages_.SetTabControl(tab);
  keyRouter_ = std::make_unique<platform::win32::DialogKeyRouter>(Window(), tab);
  pages_.SetKeyRouter(keyRouter_.get());
  return logic_.OnInitDialog() ? TRUE : FALSE;
}

void ConfigDialogWindow::OnDestroy() {
  logic_.OnDestroy();
  pages_.SetKeyRouter(nullptr);
  keyRouter_.reset();
}

INT_PTR ConfigDialogWindow::OnPaint() {
  if (!IsIconic(Window())) return FALSE;
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(Window(), &paint);
  SendMessageA(Window(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  RECT client;
  GetClientRect(Window(), &client);
  IconOrigin origin = CentredIconOrigin(client.right - client.left, client.bottom - client.top,
                                        GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
  DrawIcon(dc, origin.x, origin.y, icon_);
  EndPaint(Window(), &paint);
  return TRUE;
}

}  // namespace configtool
