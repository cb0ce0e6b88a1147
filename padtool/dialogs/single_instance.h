// The gamepad tool runs once per session: the named mutex "VdraPad".
#pragma once

#include "platform/named_mutex.h"

namespace padtool {

constexpr char kInstanceMutexName[] = "VdraPad";

// False when another instance holds the mutex, found by the look-up or by the
// creation that follows it (a copy started at the same moment). Otherwise the
// mutex is created, initially owned, and kept for the life of the process
// (never released or closed).
bool ClaimSingleInstance(platform::NamedMutexes& mutexes);

}  // namespace padtool
