// The gamepad tool runs once per session: the named mutex "VdraPad".
#pragma once

#include "platform/named_mutex.h"

namespace padtool {

constexpr char kInstanceMutexName[] = "VdraPad";

// False when another instance holds the mutex. Otherwise creates it, initially
// owned, and keeps it for the life of the process (never released or closed).
bool ClaimSingleInstance(platform::NamedMutexes& mutexes);

}  // namespace padtool
