// TexturesPage (dialog 132): texture compression (setting 18: High, Low,
// Uncompressed) and on-screen maps (setting 19: Compressed, Uncompressed);
// each combo's item index is the stored number.
#pragma once

#include "configtool/pages/settings_page.h"

namespace configtool {

class TexturesPage : public SettingsPage {
 public:
  using SettingsPage::SettingsPage;
  bool OnCommand(int id, int notification) override;

 protected:
  void Refresh() override;
};

}  // namespace configtool
