// ConfigDialog: the logic of the tool's main dialog (resource 102). It probes
// the adapter, creates the settings store, fills the tab control with the six
// pages, watches for the game and the platform viewer every 100 ms, and owns
// the save flow with its questions and messages (caption string 121).
#pragma once

#include <array>
#include <memory>

#include "configtool/app/config_app.h"
#include "configtool/pages/config_page.h"
#include "platform/direct3d8.h"
#include "platform/html_help.h"
#include "platform/main_dialog_controls.h"
#include "platform/module_info.h"
#include "platform/registry.h"
#include "platform/window_finder.h"

namespace configtool {

constexpr unsigned kAboutCommand = 0x10;  // system menu entry of the About dialog
constexpr unsigned kGameWatchTimer = 1;
constexpr unsigned kGameWatchPeriodMs = 100;
constexpr unsigned kProbeWidth = 640;
constexpr unsigned kProbeHeight = 480;

constexpr char kGameWindowClass[] = "VdraClass";
constexpr char kGameWindowTitle[] = "VELDARA";
constexpr char kViewerWindowClass[] = "OrbinetUS";

// What the dialog reaches outside itself.
struct ConfigDialogServices {
  platform::Direct3D8Runtime& direct3d;
  platform::Registry& registry;
  platform::WindowFinder& windows;
  platform::ModuleInfo& module;
  platform::HtmlHelp& help;
  PageFactory& pages;
};

class ConfigDialog {
 public:
  // Clears the page pointers and initialises HTML Help with the app's cookie.
  ConfigDialog(ConfigApp& app, platform::MainDialogControls& controls, const ConfigDialogServices& services);
  ~ConfigDialog();
  ConfigDialog(const ConfigDialog&) = delete;
  ConfigDialog& operator=(const ConfigDialog&) = delete;

  // WM_INITDIALOG; true lets the system set the focus. False when the probe
  // rejected the adapter and the dialog runs without store, tabs and pages.
  bool OnInitDialog();
  // WM_DESTROY: RenderCaps, the probe, then the pages in tab order.
  void OnDestroy();

  // WM_SYSCOMMAND; true when the command was the About entry.
  bool OnSysCommand(unsigned command);
  // TCN_SELCHANGING and TCN_SELCHANGE of the tab control; both answer 0.
  int OnTabSelChanging();
  int OnTabSelChange();
  // Button 1001.
  void OnDefault();
  // Button 1000, F1 and WM_HELP.
  void OnHelp();
  // WM_TIMER of any id: the game watch.
  void OnTimer(unsigned timerId);
  // IDOK and IDCANCEL.
  void OnOk();
  void OnCancel();

  // Asks (unless silent) and saves pending changes. IDCANCEL means stay open;
  // IDYES (nothing asked, or Yes) and IDNO mean go on closing.
  int SaveChanges(bool silent);

  ConfigPage* Page(int index) const;

 private:
  bool RunAdapterProbe();
  void ShowPageOfSelection(bool visible);
  void Close(int result);

  ConfigApp& app_;
  platform::MainDialogControls& controls_;
  ConfigDialogServices services_;
  std::array<std::unique_ptr<ConfigPage>, kPageCount> pages_;
};

// Top-left corner of the icon drawn centred in a minimised window's client area.
struct IconOrigin {
  int x;
  int y;
};
IconOrigin CentredIconOrigin(int clientWidth, int clientHeight, int iconWidth, int iconHeight);

}  // namespace configtool
