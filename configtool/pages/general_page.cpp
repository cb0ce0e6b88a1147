#include "configtool/pages/general_page.h"

#include "configtool/pages/gamma_mapping.h"
#include "configtool/pages/run_and_wait.h"
#include "configtool/resources/resource.h"
#include "configtool/shell/desktop_shortcut.h"

namespace configtool {

GeneralPage::GeneralPage(ConfigApp& app, platform::PageControls& controls, const GeneralPageServices& services)
    : SettingsPage(app, controls), services_(services) {}

void GeneralPage::Refresh() {
  mip_ = Settings().Int(MipMapping);
  Controls().SetChecked(IDC_MIP_MAPPING, mip_ != 0);
  windowed_ = Settings().Int(WindowedMode);
  Controls().SetChecked(IDC_WINDOWED_MODE, windowed_ != 0);
  float gamma = Settings().Float(GammaBase);
  gammaPosition_ = PositionFromGamma(gamma);
  Controls().SetTrackbarMin(IDC_GAMMA, 0, false);
  Controls().SetTrackbarMax(IDC_GAMMA, kGammaPositionMax, false);
  Controls().SetTrackbarPosition(IDC_GAMMA, gammaPosition_, true);
  ShowGammaLabel(gamma);
}

void GeneralPage::ReadControls() {
  mip_ = Controls().IsChecked(IDC_MIP_MAPPING) ? 1 : 0;
  windowed_ = Controls().IsChecked(IDC_WINDOWED_MODE) ? 1 : 0;
  gammaPosition_ = Controls().GetTrackbarPosition(IDC_GAMMA);
}

void GeneralPage::WriteControls() {
  Controls().SetChecked(IDC_MIP_MAPPING, mip_ != 0);
  Controls().SetChecked(IDC_WINDOWED_MODE, windowed_ != 0);
  Controls().SetTrackbarPosition(IDC_GAMMA, gammaPosition_, true);
}

void GeneralPage::ShowGammaLabel(float gamma) { Controls().SetControlText(IDC_GAMMA_VALUE, GammaLabel(gamma)); }

bool GeneralPage::OnCommand(int id, int notification) {
  if (notification != platform::kBnClicked) return false;
  switch (id) {
    case IDC_MIP_MAPPING:
      ReadControls();
      Settings().SetInt(MipMapping, mip_);
      MarkChanged();
      return true;
    case IDC_WINDOWED_MODE:
      OnWindowedModeClicked();
      return true;
    case IDC_GAMEPAD_SETTINGS:
      RunAndWait(kGamepadToolCommand, services_.processes, services_.messages, App().mainWindow);
      return true;
    case IDC_CREATE_SHORTCUT:
      RunCreateShortcutFlow(Controls(), services_.registry, App().regionIndex, services_.shell);
      return true;
    default:
      return false;
  }
}

void GeneralPage::OnWindowedModeClicked() {
  ReadControls();
  Settings().SetInt(WindowedMode, windowed_);
  if (windowed_ == 1 &&
      Controls().ShowMessage(IDS_WINDOWED_WARNING, IDS_CAPTION, platform::kMbYesNo | platform::kMbIconQuestion) ==
          platform::kIdNo) {
    windowed_ = 0;
    Settings().SetInt(WindowedMode, 0);
    WriteControls();
    return;
  }
  MarkChanged();
}

void GeneralPage::OnScroll(int controlId) {
  if (controlId != IDC_GAMMA) return;
  gammaPosition_ = Controls().GetTrackbarPosition(IDC_GAMMA);
  float gamma = GammaFromPosition(gammaPosition_);
  Settings().SetFloat(GammaBase, gamma);
  ShowGammaLabel(gamma);
  MarkChanged();
}

}  // namespace configtool
