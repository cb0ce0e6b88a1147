// One tab page of the main dialog as the dialog sees it, and the factory that
// creates the six pages as modeless children of the tab control.
#pragma once

#include <memory>

#include "configtool/pages/media_center_choice.h"

namespace configtool {

// Tab order of the pages.
enum PageIndex : int {
  kGeneralPage = 0,
  kScreenSizePage = 1,
  kTexturesPage = 2,
  kEffectsPage = 3,
  kSoundPage = 4,
  kMiscPage = 5,
};
constexpr int kPageCount = 6;

class ConfigPage {
 public:
  // Destroys the page window.
  virtual ~ConfigPage() = default;
  // ShowWindow(page, SW_SHOW or SW_HIDE).
  virtual void Show(bool visible) = 0;
  // The Misc page's Media Center choice; null on the other pages.
  virtual MediaCenterChoice* MediaCenter() { return nullptr; }
};

class PageFactory {
 public:
  virtual ~PageFactory() = default;
  // Creates the page of a tab index from its dialog resource as a modeless
  // child of the tab control, hidden; null when the window was not created.
  virtual std::unique_ptr<ConfigPage> CreatePage(int index) = 0;
};

// Dialog resource of the page at a tab index.
int PageDialogId(int index);

// String id of the tab caption at a tab index.
int PageCaptionId(int index);

// General, Screen Size and Textures leave key-downs of Enter and Esc to the
// main dialog, where they act as OK and Cancel; on the other pages the page's
// own dialog handling takes them as its OK and Cancel, which hide the page.
bool PageHandsEnterEscToMainDialog(int index);

}  // namespace configtool
