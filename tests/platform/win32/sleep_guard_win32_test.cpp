// The guard on Windows: the thread's execution state while it lives and
// after it goes.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/sleep_guard.h"

namespace tav::sys {
namespace {

// The system reports a thread's state only as the one before a change:
// setting the state the thread should be in returns the one it was in, and
// leaves it as it should be.
EXECUTION_STATE state_was(EXECUTION_STATE expected) { return ::SetThreadExecutionState(expected); }

TEST(SleepGuard, RequiresTheSystemWhileItLivesAndClearsTheStateWhenItGoes) {
  {
    const SleepGuard guard;
    EXPECT_EQ(state_was(ES_CONTINUOUS | ES_SYSTEM_REQUIRED), ES_CONTINUOUS | ES_SYSTEM_REQUIRED);
  }
  EXPECT_EQ(state_was(ES_CONTINUOUS), ES_CONTINUOUS);
}

}  // namespace
}  // namespace tav::sys
