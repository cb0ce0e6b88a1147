#include "configtool/pages/sound_page.h"

#include <cstdio>

#include "configtool/resources/resource.h"

namespace configtool {

namespace {

int LimitCount(int count) {
  if (count < kSoundEffectCountMin) return kSoundEffectCountMin;
  if (count > kSoundEffectCountMax) return kSoundEffectCountMax;
  return count;
}

}  // namespace

void SoundPage::ShowCount() {
  char text[16];
  std::snprintf(text, sizeof text, "%2d", effectCount_);
  Controls().SetControlText(IDC_SOUND_EFFECT_VALUE, text);
}

void SoundPage::Refresh() {
  soundEnabled_ = Settings().Int(SoundEnabled);
  Controls().SetChecked(IDC_SOUND_ENABLED, soundEnabled_ != 0);
  effectCount_ = LimitCount(Settings().Int(SoundEffectCount));
  Controls().SetTrackbarMin(IDC_SOUND_EFFECT_COUNT, 0, false);
  Controls().SetTrackbarMax(IDC_SOUND_EFFECT_COUNT, kSoundEffectCountMax - kSoundEffectCountMin, false);
  Controls().SetTrackbarPosition(IDC_SOUND_EFFECT_COUNT, effectCount_ - kSoundEffectCountMin, true);
  ShowCount();
}

bool SoundPage::OnCommand(int id, int notification) {
  if (id != IDC_SOUND_ENABLED || notification != platform::kBnClicked) return false;
  soundEnabled_ = Controls().IsChecked(IDC_SOUND_ENABLED) ? 1 : 0;
  Settings().SetInt(SoundEnabled, soundEnabled_);
  MarkChanged();
  return true;
}

void SoundPage::OnScroll(int controlId) {
  if (controlId != IDC_SOUND_EFFECT_COUNT) return;
  effectCount_ = LimitCount(Controls().GetTrackbarPosition(IDC_SOUND_EFFECT_COUNT) + kSoundEffectCountMin);
  Settings().SetInt(SoundEffectCount, effectCount_);
  ShowCount();
  MarkChanged();
}

}  // namespace configtool
