#include "configtool/app/config_dialog.h"

#include "configtool/app/help_path.h"
#include "configtool/resources/resource.h"

namespace configtool {

using platform::kIdCancel;
using platform::kIdNo;
using platform::kIdOk;
using platform::kIdYes;

ConfigDialog::ConfigDialog(ConfigApp& app, platform::MainDialogControls& controls,
                           const ConfigDialogServices& services)
    : app_(app), controls_(controls), services_(services) {
  services_.help.Initialize(&app_.helpCookie);
}

ConfigDialog::~ConfigDialog() = default;

bool ConfigDialog::OnInitDialog() {
  app_.mainWindow = controls_.DialogWindow();

  if (controls_.HasSystemMenu()) {
    std::string about = controls_.LoadString(IDS_ABOUTBOX);
    if (!about.empty()) {
      controls_.AppendSystemMenuSeparator();
      controls_.AppendSystemMenuItem(kAboutCommand, about);
    }
    controls_.DeleteSystemMenuCommand(platform::kScMaximize);
    controls_.DeleteSystemMenuCommand(platform::kScSize);
    controls_.DeleteSystemMenuCommand(platform::kScRestore);
  }

  controls_.SetWindowIcon(true);
  controls_.SetWindowIcon(false);

  if (!RunAdapterProbe()) return false;

  if (app_.deviceProbe) app_.renderCaps = std::make_unique<RenderCaps>(app_.deviceProbe->Device());

  app_.store = std::make_unique<GameSettings>(services_.registry, app_.settings, app_.regionIndex);
  if (app_.store->AccessMode() == kAccessReadOnly) {
    controls_.ShowMessage(IDS_READ_ONLY_WARNING, IDS_CAPTION, platform::kMbIconWarning);
  }

  for (int index = 0; index < kPageCount; ++index) {
    controls_.InsertTab(IDC_TAB, index, controls_.LoadString(PageCaptionId(index)));
  }

  for (int index = 0; index < kPageCount; ++index) pages_[index] = services_.pages.CreatePage(index);
  for (int index = 0; index < kPageCount; ++index) {
    if (pages_[index]) pages_[index]->Show(index == kGeneralPage);
  }

  controls_.StartTimer(kGameWatchTimer, kGameWatchPeriodMs);
  return true;
}

bool ConfigDialog::RunAdapterProbe() {
  platform::WindowId probeWindow = controls_.ControlWindow(IDC_D3D_WINDOW);
  if (probeWindow == 0) return true;
  if (CreateDeviceProbe(app_.deviceProbe, services_.direct3d, probeWindow, kProbeWidth, kProbeHeight, false)) {
    return true;
  }
  DestroyDeviceProbe(app_.deviceProbe);
  if (!CreateDeviceProbe(app_.deviceProbe, services_.direct3d, probeWindow, kProbeWidth, kProbeHeight, true)) {
    return false;
  }
  return app_.deviceProbe->SoftwareVPAccepted();
}

void ConfigDialog::OnDestroy() {
  app_.renderCaps.reset();
  DestroyDeviceProbe(app_.deviceProbe);
  for (auto& page : pages_) page.reset();
}

bool ConfigDialog::OnSysCommand(unsigned command) {
  if ((command & 0xFFF0) != kAboutCommand) return false;
  controls_.RunModalDialog(IDD_ABOUTBOX);
  return true;
}

ConfigPage* ConfigDialog::Page(int index) const {
  return index >= 0 && index < kPageCount ? pages_[index].get() : nullptr;
}

void ConfigDialog::ShowPageOfSelection(bool visible) {
  if (ConfigPage* page = Page(controls_.GetTabSelection(IDC_TAB))) page->Show(visible);
}

int ConfigDialog::OnTabSelChanging() {
  ShowPageOfSelection(false);
  return 0;
}

int ConfigDialog::OnTabSelChange() {
  ShowPageOfSelection(true);
  return 0;
}

void ConfigDialog::OnDefault() {
  if (!app_.store) return;
  if (controls_.ShowMessage(IDS_RETURN_TO_DEFAULTS, IDS_CAPTION, platform::kMbYesNo | platform::kMbIconQuestion) !=
      kIdYes) {
    return;
  }
  app_.store->ResetToDefaults();
  if (ConfigPage* misc = Page(kMiscPage)) {
    if (MediaCenterChoice* choice = misc->MediaCenter()) choice->ClearMediaCenterChoice();
  }
  app_.settings.SetSettingsChanged(true);
  controls_.InvalidateDialog();
  controls_.ShowMessage(IDS_DEFAULTS_RETURNED, IDS_CAPTION, platform::kMbIconInformation);
}

void ConfigDialog::OnHelp() {
  char path[kPathBufferSize];
  if (!BuildOwnHelpPath(services_.module, controls_.LoadString(IDS_HELP_FILE), path)) return;
  services_.help.DisplayTopic(app_.mainWindow, path);
}

void ConfigDialog::OnTimer(unsigned timerId) {
  if (!services_.windows.TopLevelWindowExists(kGameWindowClass, kGameWindowTitle) &&
      !services_.windows.TopLevelWindowExists(kViewerWindowClass, nullptr)) {
    return;
  }
  controls_.StopTimer(timerId);
  controls_.ShowMessage(IDS_GAME_RUNNING, IDS_CAPTION, platform::kMbIconWarning);
  SaveChanges(true);
  controls_.EndDialog(kIdCancel);
}

int ConfigDialog::SaveChanges(bool silent) {
  int answer = kIdYes;
  if (!app_.settings.SettingsChanged() || !app_.store) return answer;
  if (!silent) {
    answer = controls_.ShowMessage(IDS_SAVE_SETTINGS, IDS_CAPTION,
                                   platform::kMbYesNoCancel | platform::kMbIconQuestion);
  }
  if (answer == kIdCancel || answer == kIdNo) return answer;
  if (ConfigPage* misc = Page(kMiscPage)) {
    if (MediaCenterChoice* choice = misc->MediaCenter()) choice->ApplyMediaCenterChoice();
  }
  bool saved = app_.store->Save();
  if (!silent) {
    if (saved) {
      controls_.ShowMessage(IDS_SETTINGS_SAVED, IDS_CAPTION, platform::kMbIconInformation);
    } else {
      controls_.ShowMessage(IDS_SAVE_FAILED, IDS_CAPTION, platform::kMbIconWarning);
    }
  }
  return answer;
}

void ConfigDialog::Close(int result) {
  if (SaveChanges(false) == kIdCancel) return;
  controls_.EndDialog(result);
}

void ConfigDialog::OnOk() { Close(kIdOk); }

void ConfigDialog::OnCancel() { Close(kIdCancel); }

IconOrigin CentredIconOrigin(int clientWidth, int clientHeight, int iconWidth, int iconHeight) {
  return {(clientWidth - iconWidth + 1) / 2, (clientHeight - iconHeight + 1) / 2};
}

}  // namespace configtool
