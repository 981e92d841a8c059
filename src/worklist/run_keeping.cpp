#include "worklist/run_keeping.h"

#include <algorithm>
#include <ctime>

#include "errors/detail_words.h"
#include "errors/runtime_error.h"
#include "files/operations.h"
#include "platform/system_files.h"
#include "platform/text.h"
#include "volume_state/kept_runs.h"
#include "volume_state/record_file.h"

namespace tav {

namespace {

// The journal is flushed at least this often while a run deletes, and
// after so many actions.
constexpr std::chrono::seconds kCommitEvery{1};
constexpr std::size_t kActionsPerCommit = 256;

std::string with_slashes(std::string path) {
  std::replace(path.begin(), path.end(), kPathSeparator, '/');
  return path;
}

std::string last_name(const std::string& path) {
  const auto cut = path.rfind(kPathSeparator);
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

}  // namespace

RunKeeping::RunKeeping(const Roots& roots, state::PairKey pair, std::uint64_t room_to_free)
    : roots_(roots), pair_(std::move(pair)), room_to_free_(room_to_free) {}

void RunKeeping::begin() {
  if (run_) return;
  release_kept_runs();
  const std::string& root = roots_.destination_root();
  const std::string base = state::run_name(std::time(nullptr), pair_);
  std::string name = base;
  // Two runs within one second: the later one takes a number.
  for (int n = 2; folder_exists(state::kept_folder(root) + kPathSeparator + name); ++n) {
    name = base + "-" + std::to_string(n);
  }
  state::Journal head;
  head.pair_id = pair_.id;
  head.to_drive = roots_.direction == Direction::FolderToDrive;
  run_.emplace(root, name, head);
  folders_changed_.push_back(state::kept_folder(root));
  folders_changed_.push_back(run_->folder());
  folders_changed_.push_back(state::own_folder(run_->folder()));
  committed_ = std::chrono::steady_clock::now();
  keep_the_record();
}

void RunKeeping::release_kept_runs() {
  const std::string& root = roots_.destination_root();
  const auto runs = state::kept_runs(root);
  const auto old = state::runs_to_release(runs, std::time(nullptr));
  std::uint64_t freed = 0;
  for (const auto& run : old) {
    freed += state::room_of(run, 0);
    state::release(run);
  }
  for (const auto& run : state::runs_that_may_go(runs)) {
    if (freed >= room_to_free_) break;
    if (std::ranges::find(old, run.name, &state::KeptRunFolder::name) != old.end()) continue;
    freed += state::room_of(run, 0);
    state::release(run);
  }
}

// The record describes the state before the run: it goes aside before
// anything changes, so that no run leaves a record it made untrue.
void RunKeeping::keep_the_record() {
  const std::string record = state::record_path(roots_.drive_root, pair_);
  if (!entry_at(record)) return;
  const std::string kept_folder = state::make_own_folder(roots_.drive_root, run_->name());
  const std::string kept = kept_folder + kPathSeparator + std::string(state::kKeptRecordName);
  if (!sys::rename_new(record, kept)) {
    raise_system_error(sys::last_code(record), detail::kKeepRefused);
  }
  folders_changed_.push_back(kept_folder);
  folders_changed_.push_back(std::string(folder_of(record)));
  note(state::Action::RecordKept, "");
  commit();
}

std::string RunKeeping::relative(const std::string& path) const {
  const std::string& root = roots_.destination_root();
  return with_slashes(path.starts_with(root) ? path.substr(root.size()) : path);
}

std::string RunKeeping::place_for(const std::string& path) {
  const std::string& root = roots_.destination_root();
  std::string kept = run_->place_for(path.starts_with(root) ? path.substr(root.size()) : path);
  const std::string folder(folder_of(kept));
  if (folders_changed_.back() != folder) folders_changed_.push_back(folder);
  return kept;
}

void RunKeeping::note(state::Action action, const std::string& path, FileVersion version,
                      std::string temporary) {
  run_->note({action, path, version, std::move(temporary)});
  ++noted_;
}

void RunKeeping::folder_made(const std::string& path) {
  note(state::Action::FolderMade, relative(path));
}

void RunKeeping::file_kept(const std::string& path) {
  note(state::Action::FileKept, relative(path));
}

void RunKeeping::folder_removed(const std::string& path) {
  note(state::Action::FolderRemoved, relative(path));
}

void RunKeeping::placing(const std::vector<CopyBatch::Placement>& batch,
                         std::vector<sys::Handle>& flushed) {
  for (const auto& copy : batch) {
    const auto written = entry_at(copy.temporary);
    const auto action = copy.kind == Replaces::Kind::Version ? state::Action::FileReplaced
                                                             : state::Action::FilePlaced;
    note(action, relative(copy.destination), written ? written->version() : FileVersion{},
         last_name(copy.temporary));
  }
  flushed.push_back(run_->write());
}

void RunKeeping::left_at_placing(const std::string& path) {
  note(state::Action::FileLeft, relative(path));
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
