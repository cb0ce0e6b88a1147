// The six tab pages as modeless child dialogs of the main dialog's tab
// control: each is the generic logic dialog window hosting its page logic,
// with the combo items of its dialog resource added when it is created.
#pragma once

#include <windows.h>

#include <memory>

#include "configtool/pages/config_page.h"
#include "configtool/pages/page_logic.h"
#include "platform/win32/dialog_key_router.h"
#include "platform/win32/logic_dialog.h"
#include "platform/win32/win32_page_controls.h"

namespace configtool {

class PageWindow : public ConfigPage {
 public:
  PageWindow(HINSTANCE instance, int index, ConfigApp& app, const PageServices& services);
  ~PageWindow() override;

  // CreateDialogParamA with the tab control as parent, then the page joins
  // the key router (if any) until its window is destroyed; false without a window.
  bool Create(HWND tabControl, platform::win32::DialogKeyRouter* router);
  void Show(bool visible) override;
  MediaCenterChoice* MediaCenter() override { return logic_.mediaCenter; }
  HWND Window() const { return dialog_.Window(); }

 private:
  // The logic dialog, with the resource's combo items added before the logic
  // starts; its own OK and Cancel hide it.
  class Dialog : public platform::win32::LogicDialog {
   public:
    Dialog(HINSTANCE instance, int dialogId, platform::win32::Win32DialogControls& controls,
           platform::DialogLogic& logic)
        : LogicDialog(instance, dialogId, controls, logic), dialogId_(dialogId) {}
    void JoinKeyRouter(platform::win32::DialogKeyRouter* router, bool leavesEnterEscToDialog);

   protected:
    INT_PTR OnInitDialog() override;
    void OnDestroy() override;
    void OnOkOrCancel(int id) override;

   private:
    int dialogId_;
    platform::win32::DialogKeyRouter* router_ = nullptr;
  };

  int index_;
  platform::win32::Win32PageControls controls_;
  PageLogic logic_;
  Dialog dialog_;
};

class Win32PageFactory : public PageFactory {
 public:
  Win32PageFactory(HINSTANCE instance, ConfigApp& app, const PageServices& services)
      : instance_(instance), app_(app), services_(services) {}
  void SetTabControl(HWND tabControl) { tabControl_ = tabControl; }
  // Pages created from now on take their keys through the router.
  void SetKeyRouter(platform::win32::DialogKeyRouter* router) { router_ = router; }
  std::unique_ptr<ConfigPage> CreatePage(int index) override;

 private:
  HINSTANCE instance_;
  ConfigApp& app_;
  PageServices services_;
  HWND tabControl_ = nullptr;
  platform::win32::DialogKeyRouter* router_ = nullptr;
};

}  // namespace configtool
