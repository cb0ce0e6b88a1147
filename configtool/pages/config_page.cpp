#include "configtool/pages/config_page.h"

#include "configtool/resources/resource.h"

namespace configtool {

namespace {

struct PageResources {
  int dialogId;
  int captionId;
};

constexpr PageResources kPages[kPageCount] = {
    {IDD_GENERAL_PAGE, IDS_TAB_GENERAL},  {IDD_SCREEN_SIZE_PAGE, IDS_TAB_SCREEN_SIZE},
    {IDD_TEXTURES_PAGE, IDS_TAB_TEXTURES}, {IDD_EFFECTS_PAGE, IDS_TAB_EFFECTS},
    {IDD_SOUND_PAGE, IDS_TAB_SOUND},      {IDD_MISC_PAGE, IDS_TAB_MISC},
};

}  // namespace

int PageDialogId(int index) { return index >= 0 && index < kPageCount ? kPages[index].dialogId : 0; }

int PageCaptionId(int index) { return index >= 0 && index < kPageCount ? kPages[index].captionId : 0; }

bool PageHandsEnterEscToMainDialog(int index) {
  return index == kGeneralPage || index == kScreenSizePage || index == kTexturesPage;
}

}  // namespace configtool
