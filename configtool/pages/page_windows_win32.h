// The six tab pages as modeless child dialogs of the main dialog's tab
// control. A page shows its controls with the combo items of its dialog
// resource; the pages' own handlers are not part of this build yet.
#pragma once

#include <windows.h>

#include <memory>

#include "configtool/pages/config_page.h"
#include "configtool/pages/misc_page.h"
#include "platform/win32/dialog_base.h"

namespace configtool {

class PageWindow : public platform::win32::DialogBase, public ConfigPage {
 public:
  PageWindow(HINSTANCE instance, int dialogId);
  ~PageWindow() override;

  // CreateDialogParamA with the tab control as parent; false without a window.
  bool Create(HWND tabControl);
  void Show(bool visible) override;

 protected:
  INT_PTR OnInitDialog() override;

 private:
  int dialogId_;
};

class MiscPageWindow : public PageWindow {
 public:
  explicit MiscPageWindow(HINSTANCE instance);
  MediaCenterChoice* MediaCenter() override { return &misc_; }

 private:
  MiscPage misc_;
};

class Win32PageFactory : public PageFactory {
 public:
  explicit Win32PageFactory(HINSTANCE instance) : instance_(instance) {}
  void SetTabControl(HWND tabControl) { tabControl_ = tabControl; }
  std::unique_ptr<ConfigPage> CreatePage(int index) override;

 private:
  HINSTANCE instance_;
  HWND tabControl_ = nullptr;
};

}  // namespace configtool
