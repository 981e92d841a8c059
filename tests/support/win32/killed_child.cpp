#include "support/killed_child.h"

#include <windows.h>

namespace tav::test {

void kill_this_process() {
  ::TerminateProcess(::GetCurrentProcess(), 9);
  ::ExitProcess(9);  // not reached
}

// A Windows process starts only from a program's beginning: no child can
// share the test's state as it is.
std::optional<bool> killed_in_child(const std::function<void()>&) { return std::nullopt; }

}  // namespace tav::test
