// SoundPage (dialog 136): sound on or off (setting 7) and the number of sound
// effects 12..20 (setting 29) on a trackbar 0..8 with its "%2d" label. A
// stored number outside 12..20 shows at the nearer end and is kept until the
// trackbar moves.
#pragma once

#include "configtool/pages/settings_page.h"

namespace configtool {

constexpr int kSoundEffectCountMin = 12;
constexpr int kSoundEffectCountMax = 20;

class SoundPage : public SettingsPage {
 public:
  using SettingsPage::SettingsPage;
  bool OnCommand(int id, int notification) override;
  void OnScroll(int controlId) override;

 protected:
  void Refresh() override;

 private:
  void ShowCount();

  int soundEnabled_ = 0;
  int effectCount_ = 0;
};

}  // namespace configtool
