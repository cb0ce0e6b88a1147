#include "configtool/pages/effects_page.h"

#include "configtool/resources/resource.h"

namespace configtool {

void EffectsPage::Refresh() {
  bumpMapping_ = Settings().Int(BumpMapping);
  Controls().EnableControl(IDC_BUMP_MAPPING, false);
  const RenderCaps* caps = App().renderCaps.get();
  if (caps != nullptr && caps->VertexShader11() && caps->PixelShader11()) {
    Controls().EnableControl(IDC_BUMP_MAPPING, true);
  }
  // Without shader support the stored choice shows greyed out and stays as it is.
  Controls().SetChecked(IDC_BUMP_MAPPING, bumpMapping_ != 0);
  Controls().SetComboSelection(IDC_ENVIRONMENTAL_ANIMATION, Settings().Int(EnvironmentalAnimation));
}

bool EffectsPage::OnCommand(int id, int notification) {
  if (id == IDC_BUMP_MAPPING && notification == platform::kBnClicked) {
    bumpMapping_ = Controls().IsChecked(IDC_BUMP_MAPPING) ? 1 : 0;
    Settings().SetInt(BumpMapping, bumpMapping_);
    MarkChanged();
    return true;
  }
  if (id == IDC_ENVIRONMENTAL_ANIMATION && notification == platform::kCbnSelChange) {
    int selected = Controls().GetComboSelection(id);
    if (selected >= 0) {
      Settings().SetInt(EnvironmentalAnimation, selected);
      MarkChanged();
    }
    return true;
  }
  return false;
}

}  // namespace configtool
