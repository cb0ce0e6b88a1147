// GeneralPage (dialog 130): MIP mapping (setting 0), start in windowed mode
// (setting 34, confirmed with message 142), the gamma base trackbar (setting
// 28) with its label, "Create Shortcut (&S)" and "Gamepad Settings (&P)".
#pragma once

#include "configtool/pages/settings_page.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/thread_messages.h"

namespace configtool {

struct GeneralPageServices {
  platform::Registry& registry;
  platform::Shell& shell;
  platform::Processes& processes;
  platform::ThreadMessages& messages;
};

class GeneralPage : public SettingsPage {
 public:
  GeneralPage(ConfigApp& app, platform::PageControls& controls, const GeneralPageServices& services);

  bool OnCommand(int id, int notification) override;
  // Every notification of the gamma trackbar stores the value and updates the label.
  void OnScroll(int controlId) override;

 protected:
  void Refresh() override;

 private:
  // The page's data exchange: controls into the members, and back.
  void ReadControls();
  void WriteControls();
  void OnWindowedModeClicked();
  void ShowGammaLabel(float gamma);

  GeneralPageServices services_;
  int mip_ = 0;
  int windowed_ = 0;
  int gammaPosition_ = 0;
};

}  // namespace configtool
