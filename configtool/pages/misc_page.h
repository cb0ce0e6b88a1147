// MiscPage (dialog 134): opening movie (setting 22), hardware mouse cursor
// (setting 21), simplified character creation (setting 23) and "Add to Media
// Center", which is no setting but the choice the next save applies: 1 adds
// the Media Center registration, 0 removes it. On a system that is not a
// Media Center system the box is disabled.
#pragma once

#include "configtool/pages/media_center_choice.h"
#include "configtool/pages/settings_page.h"
#include "configtool/shell/media_center.h"

namespace configtool {

class MiscPage : public SettingsPage, public MediaCenterChoice {
 public:
  MiscPage(ConfigApp& app, platform::PageControls& controls, const MediaCenterServices& services);

  bool OnCommand(int id, int notification) override;
  void ClearMediaCenterChoice() override { mediaCenter_ = 0; }
  void ApplyMediaCenterChoice() override;

  int MediaCenterChoiceValue() const { return mediaCenter_; }

 protected:
  // Also replaces an unsaved Media Center choice by the state on disk.
  void Refresh() override;

 private:
  MediaCenterServices services_;
  int openingMovie_ = 0;
  int hardwareMouseCursor_ = 0;
  int simpleCharacterCreation_ = 0;
  int mediaCenter_ = 0;
};

}  // namespace configtool
