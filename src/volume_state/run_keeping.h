// What a run keeps, so that nothing it removes is lost and the run can be
// undone: at its first change, the run's folder under the destination's
// kept folder (old kept runs released first), its journal, and the pair's
// record moved aside on the drive; then every file the run deletes or
// replaces moved into the run's folder, and every action noted in the
// journal, which is flushed with each batch before the batch's renames.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "files/copy_batch.h"
#include "volume_state/kept_run.h"
#include "volume_state/pair.h"

namespace tav {

// What the run may release of the kept runs before it starts.
struct KeptRoom {
  std::uint64_t wanted = 0;           // beyond the runs old enough to go anyway
  std::uint64_t allocation_unit = 0;  // the destination's (0: bytes)
  bool latest_too = false;            // the latest runs may go too (kept_runs.h)
};

class RunKeeping {
 public:
  RunKeeping(const Roots& roots, state::PairKey pair, KeptRoom room);

  // Before the run's first change; once.
  void begin();

  // Where the destination's file at path will be kept, its folders made.
  std::string place_for(const std::string& path);

  void folder_made(const std::string& path);
  void file_kept(const std::string& path);
  void folder_removed(const std::string& path);
  // The copies of a batch about to be placed, noted and written for the
  // batch's flush, whose files the journal joins; and those it then left.
  void placing(const std::vector<CopyBatch::Placement>& batch, std::vector<sys::Handle>& flushed);
  void left_at_placing(const std::string& path);
  // A copy for the destination path is about to be written under a
  // temporary name: noted and written to the journal's file before its
  // first byte (a kill leaves the journal naming it).
  void writing(const std::string& path);
  // The entry at former is about to take the spelling of path (one folder's
  // names) through the name between: noted and flushed before the rename.
  void renaming(const std::string& path, const std::string& former, const std::string& between);
  // The entry at from is about to be renamed to to (both beneath the
  // destination's root): noted and flushed before the rename.
  void moving(const std::string& to, const std::string& from);

  // Writes what was noted and flushes the journal to its medium.
  void commit();
  // What was written has been flushed with a batch.
  void flushed();
  // The same when a while has passed since the last commit.
  void commit_when_due();

  // The folders under the kept folders this run changed, for the last flush.
  const std::vector<std::string>& folders_changed() const { return folders_changed_; }

 private:
  // What was noted is on the medium now.
  void committed();
  // The path relative to the destination's root, as the journal holds it.
  state::StatePath relative(const std::string& path) const;
  void release_kept_runs();
  void keep_the_record();
  void note(state::Action action, const std::string& path, FileVersion version = {},
            std::string temporary = {});
  void changed(std::string folder);

  const Roots& roots_;
  const state::PairKey pair_;
  const KeptRoom room_;
  std::optional<state::KeptRun> run_;
  std::size_t noted_ = 0;  // since the last commit
  std::chrono::steady_clock::time_point committed_;
  std::vector<std::string> folders_changed_;
};

}  // namespace tav
