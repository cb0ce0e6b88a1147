// Win32 glue of the main dialog (resource 102): routes its messages to
// ConfigDialog and draws the icon while minimised.
#pragma once

#include <windows.h>

#include <memory>

#include "configtool/app/config_dialog.h"
#include "configtool/app/config_program.h"
#include "configtool/pages/page_windows_win32.h"
#include "platform/win32/dialog_base.h"
#include "platform/win32/dialog_key_router.h"
#include "platform/win32/main_dialog_controls_win32.h"

namespace configtool {

struct ConfigDialogSystem {
  platform::Direct3D8Runtime& direct3d;
  platform::Registry& registry;
  platform::WindowFinder& windows;
  platform::ModuleInfo& module;
  platform::HtmlHelp& help;
  PageServices pages;
};

class ConfigDialogWindow : public platform::win32::DialogBase, public ProgramDialog {
 public:
  // Loads icon 128 and constructs the logic (which initialises HTML Help).
  ConfigDialogWindow(HINSTANCE instance, ConfigApp& app, const ConfigDialogSystem& system);

  void RunModal() override;

 protected:
  INT_PTR OnInitDialog() override;
  void OnDestroy() override;

 private:
  INT_PTR OnPaint();

  HICON icon_;
  platform::win32::Win32MainDialogControls controls_;
  Win32PageFactory pages_;
  // Lives from initialisation until the pages are destroyed.
  std::unique_ptr<platform::win32::DialogKeyRouter> keyRouter_;
  ConfigDialog logic_;
};

}  // namespace configtool
