// The program-wide state of VELDARA Config: one instance, owned by the
// program's entry point and shared by the main dialog and its pages.
#pragma once

#include <cstdint>
#include <memory>

#include "configtool/probe/device_probe.h"
#include "configtool/probe/render_caps.h"
#include "configtool/settings/game_settings.h"
#include "configtool/settings/setting_values.h"
#include "platform/named_mutex.h"
#include "platform/window_id.h"

namespace configtool {

struct ConfigApp {
  int regionIndex = 0;
  // The 22 setting values and SettingsChanged.
  SettingValues settings;
  // Created by the main dialog's initialisation; outlives the dialog.
  std::unique_ptr<GameSettings> store;
  // Created by the main dialog's initialisation, destroyed with the dialog.
  std::unique_ptr<DeviceProbe> deviceProbe;
  std::unique_ptr<RenderCaps> renderCaps;
  platform::WindowId mainWindow = 0;
  std::uint32_t helpCookie = 0;
  platform::MutexId instanceMutex = 0;
  platform::MutexId messageMutex = 0;
};

}  // namespace configtool
