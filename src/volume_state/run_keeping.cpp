#include "volume_state/run_keeping.h"

#include <ctime>

#include "errors/detail_words.h"
#include "errors/runtime_error.h"
#include "files/operations.h"
#include "platform/system_files.h"
#include "platform/text.h"
#include "volume_state/kept_runs.h"
#include "volume_state/record_file.h"
#include "volume_state/state_access.h"
#include "volume_state/state_layout.h"

namespace tav {

namespace {

// The journal is flushed at least this often while a run deletes, and
// after so many actions.
constexpr std::chrono::seconds kCommitEvery{1};
constexpr std::size_t kActionsPerCommit = 256;

std::string last_name(const std::string& path) {
  const auto cut = path.rfind(kPathSeparator);
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

}  // namespace

RunKeeping::RunKeeping(const Roots& roots, state::PairKey pair, KeptRoom room)
    : roots_(roots), pair_(std::move(pair)), room_(room) {}

void RunKeeping::begin() {
  if (run_) return;
  const std::string& root = roots_.destination_root();
  // A state folder that is a link, or on another volume, takes no write:
  // the run ends before its first change.
  if (!state::usable(state::reach(root, state::layout::kept_folder())) ||
      !state::usable(state::reach(roots_.drive_root, state::layout::records_folder()))) {
    state::refuse_state();
  }
  release_kept_runs();
  const std::time_t now = std::time(nullptr);
  const std::string name = state::new_run_name(root, now, pair_.id, false);
  state::Journal head;
  head.pair_id = pair_.id;
  head.to_drive = roots_.to_drive();
  head.began = now;
  // The place of a refusal is this line's, never the library's that
  // constructs the run in place.
  run_.emplace(root, name, head, std::source_location::current());
  changed(state::at(root, state::layout::kept_folder()));
  changed(run_->folder());
  changed(run_->own_folder());
  committed_ = std::chrono::steady_clock::now();
  keep_the_record();
}

void RunKeeping::release_kept_runs() {
  const auto release = state::runs_to_release(state::kept_runs(roots_.destination_root()),
                                              std::time(nullptr), room_.allocation_unit,
                                              room_.wanted, room_.latest_too);
  for (const auto& run : release.runs) state::release(run);
}

// The record describes the state before the run: it goes aside before
// anything changes, so that no run leaves a record it made untrue.
void RunKeeping::keep_the_record() {
  const std::string& root = roots_.drive_root;
  const std::string rel = state::record_place(roots_, pair_);
  if (state::reach(root, rel) != state::Reached::File) return;
  state::make_folders(root, state::layout::own_folder(run_->name()));
  const std::string kept = state::at(root, state::layout::kept_record(run_->name()));
  if (!sys::rename_new(state::at(root, rel), kept)) {
    raise_system_error(sys::last_code(state::at(root, rel)), detail::kKeepRefused);
  }
  changed(std::string(folder_of(kept)));
  changed(state::at(root, state::layout::records_folder()));
  run_->note_record_kept();
  commit();
}

void RunKeeping::changed(std::string folder) {
  if (folders_changed_.empty() || folders_changed_.back() != folder) {
    folders_changed_.push_back(std::move(folder));
  }
}

state::StatePath RunKeeping::relative(const std::string& path) const {
  const std::string& root = roots_.destination_root();
  auto rel = state::StatePath::of_native(path.starts_with(root) ? path.substr(root.size()) : path);
  // The run acts only on paths the scan found beneath the root.
  if (!rel) raise_error(err::kBadFileName, detail::kJournalRefused);
  return *rel;
}

std::string RunKeeping::place_for(const std::string& path) {
  const std::string& root = roots_.destination_root();
  std::string kept = run_->place_for(path.starts_with(root) ? path.substr(root.size()) : path);
  changed(std::string(folder_of(kept)));
  return kept;
}

void RunKeeping::note(state::Action action, const std::string& path, FileVersion version,
                      std::string temporary) {
  run_->note({action, relative(path), version, std::move(temporary)});
  ++noted_;
}

void RunKeeping::folder_made(const std::string& path) { note(state::Action::FolderMade, path); }

void RunKeeping::file_kept(const std::string& path) { note(state::Action::FileKept, path); }

void RunKeeping::folder_removed(const std::string& path) {
  note(state::Action::FolderRemoved, path);
}

void RunKeeping::placing(const std::vector<CopyBatch::Placement>& batch,
                         std::vector<sys::Handle>& flushed) {
  for (const auto& copy : batch) {
    const auto written = entry_at(copy.temporary);
    const auto action = copy.kind != Replaces::Kind::Version ? state::Action::FilePlaced
                        : copy.keeps_old                    ? state::Action::FileReplaced
                                                            : state::Action::FileOverwritten;
    note(action, copy.destination, written ? written->version() : FileVersion{},
         last_name(copy.temporary));
  }
  flushed.push_back(run_->write());
}

void RunKeeping::left_at_placing(const std::string& path) { note(state::Action::FileLeft, path); }

void RunKeeping::writing(const std::string& path) {
  note(state::Action::FileWriting, path);
  run_->write();
}

void RunKeeping::renaming(const std::string& path, const std::string& former,
                          const std::string& between) {
  run_->note({state::Action::Renamed, relative(path), {}, last_name(between), relative(former)});
  commit();
}

void RunKeeping::moving(const std::string& to, const std::string& from) {
  run_->note({state::Action::Moved, relative(to), {}, "", relative(from)});
  commit();
}

void RunKeeping::commit() {
  if (!run_) return;
  run_->commit();
  committed();
}

void RunKeeping::flushed() {
  run_->flushed();
  committed();
}

void RunKeeping::committed() {
  noted_ = 0;
  committed_ = std::chrono::steady_clock::now();
}

void RunKeeping::commit_when_due() {
  if (noted_ >= kActionsPerCommit || std::chrono::steady_clock::now() - committed_ >= kCommitEvery) {
    commit();
  }
}

}  // namespace tav
