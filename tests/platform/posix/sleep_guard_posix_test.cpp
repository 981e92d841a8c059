// The guard on Linux against a stand-in logind on a private bus of the
// test's own, which DBUS_SYSTEM_BUS_ADDRESS names as the system bus; and
// where there is no logind to be had, or a bus that never answers.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <systemd/sd-bus.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/sleep_guard.h"

namespace tav::sys {
namespace {

using namespace std::chrono_literals;

// Names address as the system bus for the life of the object.
class SystemBusAt {
 public:
  explicit SystemBusAt(const std::string& address) {
    if (const char* previous = std::getenv(kVariable)) previous_ = previous;
    ::setenv(kVariable, address.c_str(), 1);
  }
  ~SystemBusAt() {
    if (previous_) {
      ::setenv(kVariable, previous_->c_str(), 1);
    } else {
      ::unsetenv(kVariable);
    }
  }
  SystemBusAt(const SystemBusAt&) = delete;
  SystemBusAt& operator=(const SystemBusAt&) = delete;

 private:
  static constexpr const char* kVariable = "DBUS_SYSTEM_BUS_ADDRESS";
  std::optional<std::string> previous_;
};

// A bus daemon of the test's own, ended with the object; no address where
// dbus-daemon is not installed or would not start.
class PrivateBus {
 public:
  PrivateBus() {
    FILE* daemon = ::popen(
        "dbus-daemon --session --fork --print-address=1 --print-pid=1 2>/dev/null", "r");
    if (daemon == nullptr) return;
    char address[512] = {};
    char pid[32] = {};
    if (std::fgets(address, sizeof address, daemon) != nullptr &&
        std::fgets(pid, sizeof pid, daemon) != nullptr) {
      address_ = address;
      address_.erase(address_.find_last_not_of('\n') + 1);
      pid_ = std::atoi(pid);
    }
    ::pclose(daemon);
  }
  ~PrivateBus() {
    if (pid_ > 0) ::kill(pid_, SIGTERM);
  }
  PrivateBus(const PrivateBus&) = delete;
  PrivateBus& operator=(const PrivateBus&) = delete;

  const std::string& address() const { return address_; }

 private:
  std::string address_;
  int pid_ = 0;
};

struct Inhibition {
  std::string what, who, why, mode;
  bool operator==(const Inhibition&) const = default;
};

// logind's Inhibit on the bus: records each call and hands out the write
// end of a pipe, keeping the read end to see when every copy is closed.
class StandInLogind {
 public:
  explicit StandInLogind(const std::string& address) {
    ::sd_bus_new(&bus_);
    ::sd_bus_set_address(bus_, address.c_str());
    ::sd_bus_set_bus_client(bus_, 1);
    ::sd_bus_negotiate_fds(bus_, 1);
    serving_ = ::sd_bus_start(bus_) >= 0 &&
               ::sd_bus_add_object_vtable(bus_, nullptr, "/org/freedesktop/login1",
                                          "org.freedesktop.login1.Manager", kVtable, this) >= 0 &&
               ::sd_bus_request_name(bus_, "org.freedesktop.login1", 0) >= 0;
    if (serving_) server_ = std::thread([this] { serve(); });
  }
  ~StandInLogind() {
    serving_ = false;
    if (server_.joinable()) server_.join();
    ::sd_bus_close_unref(bus_);
    for (const int end : read_ends_) ::close(end);
  }
  StandInLogind(const StandInLogind&) = delete;
  StandInLogind& operator=(const StandInLogind&) = delete;

  bool serving() const { return serving_; }

  std::vector<Inhibition> calls() {
    const std::lock_guard lock(mutex_);
    return calls_;
  }

  // Whether every copy of the last descriptor handed out is closed by the
  // end of the wait: the pipe's read end sees end of file.
  bool released_within(std::chrono::milliseconds wait) {
    const std::lock_guard lock(mutex_);
    if (read_ends_.empty()) return false;
    pollfd end{read_ends_.back(), POLLIN, 0};
    char byte = 0;
    return ::poll(&end, 1, static_cast<int>(wait.count())) == 1 && ::read(end.fd, &byte, 1) == 0;
  }

 private:
  void serve() {
    while (serving_) {
      const int processed = ::sd_bus_process(bus_, nullptr);
      if (processed < 0) return;
      if (processed == 0) ::sd_bus_wait(bus_, 50'000);
    }
  }

  static int inhibit(sd_bus_message* call, void* userdata, sd_bus_error* /*error*/) {
    auto& self = *static_cast<StandInLogind*>(userdata);
    const char* what = nullptr;
    const char* who = nullptr;
    const char* why = nullptr;
    const char* mode = nullptr;
    int ends[2] = {-1, -1};
    if (::sd_bus_message_read(call, "ssss", &what, &who, &why, &mode) < 0 ||
        ::pipe2(ends, O_CLOEXEC) != 0) {
      return -EINVAL;
    }
    {
      const std::lock_guard lock(self.mutex_);
      self.calls_.push_back({what, who, why, mode});
      self.read_ends_.push_back(ends[0]);
    }
    const int replied = ::sd_bus_reply_method_return(call, "h", ends[1]);  // sends a copy
    ::close(ends[1]);
    return replied;
  }

  static constexpr sd_bus_vtable kVtable[] = {
      SD_BUS_VTABLE_START(0),
      SD_BUS_METHOD("Inhibit", "ssss", "h", inhibit, SD_BUS_VTABLE_UNPRIVILEGED),
      SD_BUS_VTABLE_END};

  sd_bus* bus_ = nullptr;
  std::atomic<bool> serving_ = false;
  std::thread server_;
  std::mutex mutex_;
  std::vector<Inhibition> calls_;
  std::vector<int> read_ends_;
};

TEST(SleepGuard, HoldsLogindsSleepAndIdleInhibitorWhileItLives) {
  const PrivateBus bus;
  if (bus.address().empty()) GTEST_SKIP() << "dbus-daemon is not installed or would not start";
  StandInLogind logind(bus.address());
  ASSERT_TRUE(logind.serving());
  const SystemBusAt system_bus(bus.address());
  {
    const SleepGuard guard;
    ASSERT_EQ(logind.calls(),
              (std::vector<Inhibition>{{"sleep:idle", "Tavrelon", "同期中", "block"}}));
    EXPECT_FALSE(logind.released_within(200ms));
  }
  EXPECT_TRUE(logind.released_within(2000ms));
}

// A bus that is not there, a bus without logind, and a socket that takes
// the connection and never answers: the guard holds nothing and the run
// starts within the guard's wait of two seconds.
TEST(SleepGuard, WithoutLogindTheRunStartsAtOnce) {
  const std::string hung_name = "tavrelon-hung-bus-" + std::to_string(::getpid());
  const int hung = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  ASSERT_GE(hung, 0);
  sockaddr_un hung_address{};
  hung_address.sun_family = AF_UNIX;
  hung_name.copy(hung_address.sun_path + 1, sizeof hung_address.sun_path - 2);
  ASSERT_EQ(::bind(hung, reinterpret_cast<const sockaddr*>(&hung_address),
                   static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + hung_name.size())),
            0);
  ASSERT_EQ(::listen(hung, 4), 0);

  const PrivateBus bus;
  std::vector<std::string> addresses{"unix:path=/nonexistent/tavrelon/bus",
                                     "unix:abstract=" + hung_name};
  if (!bus.address().empty()) addresses.push_back(bus.address());
  for (const std::string& address : addresses) {
    const SystemBusAt system_bus(address);
    const auto start = std::chrono::steady_clock::now();
    { const SleepGuard guard; }
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s) << address;
  }
  ::close(hung);
}

}  // namespace
}  // namespace tav::sys
