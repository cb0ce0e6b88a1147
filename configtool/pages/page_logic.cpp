#include "configtool/pages/page_logic.h"

#include "configtool/pages/config_page.h"
#include "configtool/pages/effects_page.h"
#include "configtool/pages/general_page.h"
#include "configtool/pages/misc_page.h"
#include "configtool/pages/screen_size_page.h"
#include "configtool/pages/sound_page.h"
#include "configtool/pages/textures_page.h"

namespace configtool {

PageLogic CreatePageLogic(int index, ConfigApp& app, platform::PageControls& controls, const PageServices& services) {
  PageLogic page;
  switch (index) {
    case kGeneralPage:
      page.logic = std::make_unique<GeneralPage>(
          app, controls, GeneralPageServices{services.registry, services.shell, services.processes, services.messages});
      break;
    case kScreenSizePage:
      page.logic = std::make_unique<ScreenSizePage>(app, controls);
      break;
    case kTexturesPage:
      page.logic = std::make_unique<TexturesPage>(app, controls);
      break;
    case kEffectsPage:
      page.logic = std::make_unique<EffectsPage>(app, controls);
      break;
    case kSoundPage:
      page.logic = std::make_unique<SoundPage>(app, controls);
      break;
    case kMiscPage: {
      auto misc = std::make_unique<MiscPage>(
          app, controls,
          MediaCenterServices{services.registry, app.regionIndex, services.shell, services.files, services.system,
                              services.resources, services.processes});
      page.mediaCenter = misc.get();
      page.logic = std::move(misc);
      break;
    }
    default:
      break;
  }
  return page;
}

}  // namespace configtool
