// The guard on Windows: the thread's execution state requires the system,
// which keeps the system from its idle sleep until the state is cleared.
#include <windows.h>

#include "platform/sleep_guard.h"

namespace tav::sys {

SleepGuard::SleepGuard()
    : held_(::SetThreadExecutionState(ES_CONTINUOUS | ES_SYSTEM_REQUIRED) != 0 ? 1 : -1) {}

SleepGuard::~SleepGuard() {
  if (held_ > 0) ::SetThreadExecutionState(ES_CONTINUOUS);
}

}  // namespace tav::sys
