#include "support/lying_volume.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace tav::test {

namespace {

using Clock = std::chrono::steady_clock;

// Whether the process has ended, waiting for it up to the deadline.
bool ended_by(pid_t process, Clock::time_point deadline) {
  for (;;) {
    if (::waitpid(process, nullptr, WNOHANG) == process) return true;
    if (Clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

// The driver ends by itself once unmounted; one that does not is killed.
void stop(pid_t driver) {
  if (ended_by(driver, Clock::now() + std::chrono::seconds(5))) return;
  ::kill(driver, SIGKILL);
  ::waitpid(driver, nullptr, 0);
}

#ifdef TAV_LYING_FS_PROGRAM
bool mounted_over(const std::string& point, const std::string& parent) {
  struct stat at {}, above {};
  return ::stat(point.c_str(), &at) == 0 && ::stat(parent.c_str(), &above) == 0 &&
         at.st_dev != above.st_dev;
}

// The file system's program in the foreground, its output dropped.
pid_t start_driver(const std::string& medium, const std::string& point, const Lie& lie) {
  const pid_t child = ::fork();
  if (child == 0) {
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, STDOUT_FILENO);
    ::dup2(null, STDERR_FILENO);
    ::execl(TAV_LYING_FS_PROGRAM, TAV_LYING_FS_PROGRAM, medium.c_str(), point.c_str(),
            lie.mode.c_str(), lie.value.c_str(),
            lie.refuses_direct_reads ? "no-direct" : static_cast<char*>(nullptr),
            static_cast<char*>(nullptr));
    ::_exit(127);
  }
  return child;
}
#endif

}  // namespace

LyingVolume::LyingVolume(TempTree& tree, const Lie& lie) : root_(tree.path("lying")) {
#ifndef TAV_LYING_FS_PROGRAM
  (void)lie;
  why_not_ = "libfuse3 was not found when the tests were built: no lying file system";
#else
  if (::geteuid() != 0) {
    why_not_ = "mounting the lying file system through FUSE needs root";
    return;
  }
  tree.folder("lying").folder("lying-medium");
  const pid_t driver = start_driver(tree.path("lying-medium"), root_, lie);
  if (driver < 0) {
    why_not_ = "the lying file system's program could not be started";
    return;
  }
  const auto deadline = Clock::now() + std::chrono::seconds(10);
  while (!mounted_over(root_, tree.root())) {
    const bool gave_up = ended_by(driver, Clock::now());
    if (gave_up || Clock::now() >= deadline) {
      if (!gave_up) stop(driver);
      why_not_ = "the lying file system could not be mounted through FUSE (no /dev/fuse?)";
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  driver_ = driver;
#endif
}

LyingVolume::~LyingVolume() {
  if (driver_ <= 0) return;
  if (::umount2(root_.c_str(), 0) != 0) ::umount2(root_.c_str(), MNT_DETACH);
  stop(static_cast<pid_t>(driver_));
}

std::string LyingVolume::path(std::string_view rel) const {
  return root_ + "/" + std::string(rel);
}

}  // namespace tav::test
