#include "support/killed_child.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

namespace tav::test {

void kill_this_process() {
  ::raise(SIGKILL);
  std::_Exit(99);  // not reached
}

std::optional<bool> killed_in_child(const std::function<void()>& work) {
  const pid_t child = ::fork();
  if (child < 0) return std::nullopt;
  if (child == 0) {
    work();
    std::_Exit(0);
  }
  int status = 0;
  if (::waitpid(child, &status, 0) != child) return false;
  return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

}  // namespace tav::test
