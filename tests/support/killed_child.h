// A piece of a test run in a child process that ends by being killed, as a
// user's kill -9 or a power cut ends the program: what the child wrote stays
// on disk as the kill left it, and the test goes on in the parent.
#pragma once

#include <functional>
#include <optional>

namespace tav::test {

// Kills the calling process at once: no handler, no flush of its own.
[[noreturn]] void kill_this_process();

// Runs work in a child that shares the test's state as it is now; whether
// the child was killed. None where the system cannot start such a child.
std::optional<bool> killed_in_child(const std::function<void()>& work);

}  // namespace tav::test
