// The portable logic of each tab page, created for the page window that hosts it.
#pragma once

#include <memory>

#include "configtool/app/config_app.h"
#include "configtool/pages/media_center_choice.h"
#include "platform/dialog_logic.h"
#include "platform/files.h"
#include "platform/module_resources.h"
#include "platform/page_controls.h"
#include "platform/processes.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/system_info.h"
#include "platform/thread_messages.h"

namespace configtool {

// What the pages reach outside the tool.
struct PageServices {
  platform::Registry& registry;
  platform::Shell& shell;
  platform::Files& files;
  platform::SystemInfo& system;
  platform::ModuleResources& resources;
  platform::Processes& processes;
  platform::ThreadMessages& messages;
};

struct PageLogic {
  std::unique_ptr<platform::DialogLogic> logic;
  // The Misc page's Media Center choice; null on the other pages.
  MediaCenterChoice* mediaCenter = nullptr;
};

// The logic of the page at a tab index; no logic for an index that is no page.
PageLogic CreatePageLogic(int index, ConfigApp& app, platform::PageControls& controls, const PageServices& services);

}  // namespace configtool
