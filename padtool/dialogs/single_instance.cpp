#include "padtool/dialogs/single_instance.h"

namespace padtool {

bool ClaimSingleInstance(platform::NamedMutexes& mutexes) {
  if (mutexes.Exists(kInstanceMutexName)) return false;
  // Another copy may have created the mutex since the look-up: the creation
  // then reports it, and this copy ends as if the look-up had found it.
  platform::MutexCreation created = mutexes.Create(kInstanceMutexName, true);
  if (created.alreadyExists) {
    mutexes.ReleaseAndClose(created.mutex);
    return false;
  }
  return true;
}

}  // namespace padtool
