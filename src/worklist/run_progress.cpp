#include "worklist/run_progress.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace tav {

RunWork work_of(const WorkTables& tables, Direction direction, bool deletions, bool checked) {
  RunWork work;
  for (const auto& [slot, entry] : tables.copies.listed()) {
    const auto& source = source_side(direction, entry.left_seen, entry.right_seen);
    if (source) work.bytes += checked ? 2 * source->size : source->size;
  }
  const auto listed = [](const auto& table) {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& slot : table.listed()) ++count;
    return count;
  };
  work.steps = listed(tables.new_folders) + listed(tables.renames) + listed(tables.moves);
  if (deletions) work.steps += listed(tables.deleted_files) + listed(tables.deleted_folders);
  return work;
}

RunProgress::RunProgress(Window& window, RunWork work, RunClock clock)
    : window_(window),
      total_(work.bytes + work.steps * kStepBytes),
      clock_(std::move(clock)),
      started_(clock_()) {
  send(Progress::Normal);
}

void RunProgress::copying(std::uint64_t copied_of_file) {
  current_ = copied_of_file;
  send(Progress::Normal);
}

void RunProgress::copied(std::uint64_t file_bytes) {
  current_ = 0;
  done_ += file_bytes;
  send(Progress::Normal);
}

void RunProgress::step_done() {
  done_ += kStepBytes;
  send(Progress::Normal);
}

void RunProgress::flushing(bool on) {
  flushing_ = on;
  send(on ? Progress::Indeterminate : Progress::Normal);
}

void RunProgress::done() {
  if (finished_) return;
  send(Progress::None);
  finished_ = true;
  if (took_long()) window_.request_attention();
}

double RunProgress::fraction() const {
  if (total_ == 0) return 0.0;
  return std::min(1.0, static_cast<double>(done_ + current_) / static_cast<double>(total_));
}

bool RunProgress::took_long() const { return clock_() - started_ > kLongRun; }

// The window hears of a new state at once, of the bar's value when it has
// moved by a step of its resolution; the moving bar hides the value, so
// nothing is sent during a flush but its end.
void RunProgress::send(Progress state) {
  if (finished_) return;
  if (flushing_ && state == Progress::Normal) return;
  const int step = static_cast<int>(std::floor(fraction() * kResolution));
  if (state == sent_state_ && (state != Progress::Normal || step == sent_step_)) return;
  sent_state_ = state;
  sent_step_ = step;
  window_.show_progress(state, state == Progress::None ? 0.0 : fraction());
}

}  // namespace tav
