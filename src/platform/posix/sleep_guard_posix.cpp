// The guard on Linux: a logind inhibitor. logind hands the caller a file
// descriptor and holds off sleep and idle suspend until every copy of it is
// closed, or the process ends.
#include <fcntl.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>

#include "platform/sleep_guard.h"

namespace tav::sys {

namespace {

// The longest the start of a run waits for the bus: the connection, the
// authentication and logind's answer together.
constexpr std::chrono::milliseconds kBusWait{2000};

struct Answer {
  bool came = false;
  int fd = -1;  // a copy of the inhibitor's descriptor, ours to close
};

int on_inhibit_reply(sd_bus_message* reply, void* userdata, sd_bus_error* /*error*/) {
  auto& answer = *static_cast<Answer*>(userdata);
  answer.came = true;
  int fd = -1;
  if (::sd_bus_message_is_method_error(reply, nullptr) == 0 &&
      ::sd_bus_message_read(reply, "h", &fd) > 0) {
    // The message closes its own descriptor when it goes.
    answer.fd = ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
  }
  return 0;
}

// Asks logind for the inhibitor without ever waiting past kBusWait: the
// call is sent at once and the bus served by hand until the answer comes or
// the time is up, so that a bus stuck at any step (the connection's
// handshake included) only costs the wait.
int take_inhibitor() {
  sd_bus* bus = nullptr;
  if (::sd_bus_open_system(&bus) < 0) return -1;  // honours DBUS_SYSTEM_BUS_ADDRESS
  Answer answer;
  sd_bus_slot* call = nullptr;
  if (::sd_bus_call_method_async(bus, &call, "org.freedesktop.login1", "/org/freedesktop/login1",
                                 "org.freedesktop.login1.Manager", "Inhibit", on_inhibit_reply,
                                 &answer, "ssss", "sleep:idle", "Tavrelon", "同期中",
                                 "block") >= 0) {
    const auto deadline = std::chrono::steady_clock::now() + kBusWait;
    while (!answer.came) {
      const int processed = ::sd_bus_process(bus, nullptr);
      const auto left = deadline - std::chrono::steady_clock::now();
      if (processed < 0 || left <= decltype(left)::zero()) break;
      if (processed > 0) continue;
      const auto wait = std::chrono::ceil<std::chrono::microseconds>(left);
      if (::sd_bus_wait(bus, static_cast<std::uint64_t>(wait.count())) < 0) break;
    }
  }
  // The slot first, so that the callback can no longer be reached; closing
  // without a flush, which could wait on a stuck bus.
  ::sd_bus_slot_unref(call);
  ::sd_bus_close_unref(bus);
  return answer.fd;
}

}  // namespace

SleepGuard::SleepGuard() : held_(take_inhibitor()) {}

SleepGuard::~SleepGuard() {
  if (held_ >= 0) ::close(held_);
}

}  // namespace tav::sys
