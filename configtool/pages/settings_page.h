// The pattern every tab page follows: each time the page paints, and only
// while the settings store exists, it refreshes all its controls from the
// settings; each change the user makes is written into its setting at once
// and sets SettingsChanged. Pages never save; the main dialog does.
#pragma once

#include "configtool/app/config_app.h"
#include "platform/dialog_logic.h"
#include "platform/page_controls.h"

namespace configtool {

class SettingsPage : public platform::DialogLogic {
 public:
  SettingsPage(ConfigApp& app, platform::PageControls& controls) : app_(app), controls_(controls) {}

  void OnPaint() final {
    if (app_.store) Refresh();
  }

 protected:
  // Sets every control of the page from the settings.
  virtual void Refresh() = 0;

  ConfigApp& App() { return app_; }
  SettingValues& Settings() { return app_.settings; }
  platform::PageControls& Controls() { return controls_; }
  void MarkChanged() { app_.settings.SetSettingsChanged(true); }

 private:
  ConfigApp& app_;
  platform::PageControls& controls_;
};

}  // namespace configtool
