// A seam over the thin system calls of system_files.h for the tests: a plan
// names a kind of call, which of those calls fails (counting from 1) and the
// system error it fails with; that call then answers as the system answers
// a refusal, and last_code gives the planned code. Without a plan each call
// costs one test of a pointer.
#pragma once

#include <array>
#include <cstddef>

#include "platform/system_codes.h"

namespace tav::sys {

enum class Call {
  Open,        // opening a file to read or creating one
  Read,
  Write,
  Flush,       // files or a file system to their medium
  SetTimes,    // a copy's times and attributes
  Close,       // a file that was written
  Rename,      // a file into its place, or aside
  Remove,      // a file deleted or a folder removed
  MakeFolder,
};
inline constexpr std::size_t kCallKinds = 9;

// One planned failure, in force while the plan lives; one plan at a time.
class FaultPlan {
 public:
  // nth 0 fails nothing and only counts.
  FaultPlan(Call call, std::size_t nth, Code code);
  ~FaultPlan();
  FaultPlan(const FaultPlan&) = delete;
  FaultPlan& operator=(const FaultPlan&) = delete;

  // The planned call, instead of failing, ends the process at once through
  // end (a kill in the middle of the work).
  void end_process_there(void (*end)()) { end_ = end; }

  // Whether the planned call was made (and failed).
  bool struck() const { return struck_; }
  // The calls of a kind made while the plan was in force.
  std::size_t calls(Call call) const { return calls_[static_cast<std::size_t>(call)]; }

  // For the platform side: counts the call; whether it is the one to fail.
  bool strikes(Call call);
  Code code() const { return code_; }
  void (*ends_process() const)() { return end_; }

 private:
  Call call_;
  std::size_t nth_;
  Code code_;
  bool struck_ = false;
  void (*end_)() = nullptr;
  std::array<std::size_t, kCallKinds> calls_{};
};

// For the platform side, at the start of each thin call: whether this call
// fails by plan; if so the system's last error now holds the plan's code.
bool fails_by_plan(Call call);

// Sets the system's last error (errno on POSIX) to stand for code.
void set_last_code(Code code);

}  // namespace tav::sys
