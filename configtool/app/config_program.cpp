#include "configtool/app/config_program.h"

#include "configtool/resources/resource.h"
#include "configtool/settings/region.h"
#include "platform/dialog_controls.h"

namespace configtool {

namespace {

void ReleaseInstanceMutexes(ConfigApp& app, platform::NamedMutexes& mutexes) {
  if (app.instanceMutex != 0) mutexes.ReleaseAndClose(app.instanceMutex);
  if (app.messageMutex != 0) mutexes.ReleaseAndClose(app.messageMutex);
  app.instanceMutex = 0;
  app.messageMutex = 0;
}

}  // namespace

int RunConfigProgram(ConfigApp& app, const ProgramServices& services,
                     const std::function<std::unique_ptr<ProgramDialog>()>& makeDialog) {
  services.locale.SetThreadLocale(platform::kLocaleEnglishUnitedStates);

  platform::MutexCreation instance = services.mutexes.Create(kInstanceMutexName, true);
  app.instanceMutex = instance.mutex;
  if (instance.alreadyExists) {
    platform::MutexCreation message = services.mutexes.Create(kMessageMutexName, true);
    app.messageMutex = message.mutex;
    if (!message.alreadyExists) {
      services.messages.ShowUnowned(IDS_ALREADY_RUNNING, IDS_CAPTION, platform::kMbIconWarning);
    }
    ReleaseInstanceMutexes(app, services.mutexes);
    return 0;
  }

  app.regionIndex = kRegionOrbinetUs;
  app.settings.SetSettingsChanged(false);
  std::unique_ptr<ProgramDialog> dialog = makeDialog();
  if (dialog) dialog->RunModal();
  ReleaseInstanceMutexes(app, services.mutexes);
  dialog.reset();
  return 0;
}

}  // namespace configtool
