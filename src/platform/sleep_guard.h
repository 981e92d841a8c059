// Keeps the computer from going to sleep on its own while a run or an undo
// carries out its lists: a sleep halfway through a copy leaves a side half
// written until the computer wakes again.
#pragma once

namespace tav::sys {

// While a guard lives the system does not sleep or suspend on its own (a
// user may still put it to sleep). Linux: a logind inhibitor of sleep and
// idle, taken over the system bus; Windows: the thread's execution state
// requires the system. Where the system offers no means (no bus, no logind,
// a refusal, a bus that does not answer within two seconds) the guard holds
// nothing, and nothing fails or is shown. On Windows the state belongs to
// the thread: construct and destroy a guard on the same thread, one guard
// at a time.
class SleepGuard {
 public:
  SleepGuard();
  ~SleepGuard();
  SleepGuard(const SleepGuard&) = delete;
  SleepGuard& operator=(const SleepGuard&) = delete;

 private:
  // Linux: the inhibitor's file descriptor, -1 for none; Windows: 1 while
  // the thread's state requires the system, -1 otherwise.
  int held_ = -1;
};

}  // namespace tav::sys
