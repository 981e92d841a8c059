// A run's progress for the window's taskbar button or launcher: the share
// of the work done, by the bytes copied of the bytes to copy, each folder to
// create, file to delete and folder to remove counting as a small copy of
// its own; a moving bar while a batch is flushed to its medium; no bar once
// the run is complete, and then, after a run that took long, a word to the
// user. TEXT1's running count is the execution's and stays as it is.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>

#include "window/window.h"
#include "volume_state/pair.h"
#include "worklist/work_tables.h"

namespace tav {

// What a run has to do, counted when it starts.
struct RunWork {
  std::uint64_t bytes = 0;  // of the files to copy, as the scan saw them
  std::size_t steps = 0;    // folders to create, files to delete, folders to remove
  bool operator==(const RunWork&) const = default;
};

// The work the lists hold: withdrawn entries left out, each copy's size on
// its source side (twice where the copies are checked: written, then read
// back), each rename a step, the deletions only when they are made.
RunWork work_of(const WorkTables& tables, Direction direction, bool deletions,
                bool checked = false);

using RunClock = std::function<std::chrono::steady_clock::time_point()>;

class RunProgress {
 public:
  // What a folder or a deletion weighs, in bytes copied.
  static constexpr std::uint64_t kStepBytes = 64 * 1024;
  // A run longer than this asks for attention when it completes.
  static constexpr std::chrono::seconds kLongRun{10};
  // The bar is sent again when it has moved by a step of this many.
  static constexpr int kResolution = 1000;

  // The run starts: its clock, and the bar at 0.
  RunProgress(Window& window, RunWork work, RunClock clock = std::chrono::steady_clock::now);

  // The bytes of the file being copied, so far.
  void copying(std::uint64_t copied_of_file);
  // A file copied, or left, with its size: it counts whole.
  void copied(std::uint64_t file_bytes);
  // A folder made or removed, a file deleted, or one of them left.
  void step_done();
  // While a batch is flushed to its medium, the bar moves without a value.
  void flushing(bool on);
  // The run is complete: the bar goes, and after a long run the window
  // asks for attention. Nothing is sent after this.
  void done();

  // The share done, 0..1 (0 while there is nothing to do).
  double fraction() const;
  // Whether the run has lasted longer than kLongRun so far.
  bool took_long() const;

 private:
  void send(Progress state);

  Window& window_;
  const std::uint64_t total_;
  RunClock clock_;
  const std::chrono::steady_clock::time_point started_;
  std::uint64_t done_ = 0;     // files and steps complete
  std::uint64_t current_ = 0;  // the file being copied
  bool flushing_ = false;
  bool finished_ = false;
  Progress sent_state_ = Progress::None;
  int sent_step_ = -1;
};

}  // namespace tav
