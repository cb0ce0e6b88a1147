// EffectsPage (dialog 135): bump mapping (setting 17), offered only on a
// device with vertex and pixel shaders 1.1, and environmental animation
// (setting 11: Off, Normal, Smooth).
#pragma once

#include "configtool/pages/settings_page.h"

namespace configtool {

class EffectsPage : public SettingsPage {
 public:
  using SettingsPage::SettingsPage;
  bool OnCommand(int id, int notification) override;

 protected:
  void Refresh() override;

 private:
  int bumpMapping_ = 0;
};

}  // namespace configtool
