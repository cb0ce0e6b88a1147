#include "padtool/dialogs/single_instance.h"

namespace padtool {

bool ClaimSingleInstance(platform::NamedMutexes& mutexes) {
  if (mutexes.Exists(kInstanceMutexName)) return false;
  mutexes.Create(kInstanceMutexName, true);
  return true;
}

}  // namespace padtool
