// The comparison scan: walks the drive tree and the folder tree and decides
// what to create, update and delete on the destination side, filling the
// work tables.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/volume_facts.h"
#include "volume_state/record_file.h"
#include "volume_state/pair.h"
#include "worklist/work_tables.h"

namespace tav {

enum class ScanOutcome {
  NoSubfolders,  // a walked root has no subfolder, or a side names no tree
  NothingFound,  // the trees agree: nothing to do
  Review,        // entries were found: the user reviews them
};

// What the scan tells while it works.
class ScanProgress {
 public:
  // A folder of a walked tree is being compared now.
  virtual void searching(std::string_view folder) = 0;
  // Between two steps of the work.
  virtual void between_steps() = 0;

 protected:
  ~ScanProgress() = default;
};

struct BothTrees;

// What the scan learned of the roots' volumes beside the work tables.
struct ScanFindings {
  // Asked as the scan starts; none where a root could not be reached.
  std::optional<VolumeFacts> folder_volume;
  std::optional<VolumeFacts> drive_volume;
  // The destination's tree was seen to look names up without regard to case.
  bool destination_ignores_case = false;
  // The destination's files in the first-level folders that take part.
  std::size_t destination_files = 0;
  // The entries both walks found, which bound what the record may hold.
  std::size_t entries_seen = 0;
  // The pair's record, and the records of the drive's other pairs, read
  // once the trees are read (scanned with a pair).
  state::RecordReading record;
  std::vector<state::RunRecord> other_records;
  // How far each side's clock moved since the pair's record, in seconds
  // (0: not at all); the record in hand reads as the moved clocks do.
  std::int64_t folder_shift = 0, drive_shift = 0;
  // Each group of two or more entries of one name on a side (the same in
  // their composed Unicode form, or on a pair that ignores case also in
  // their letters' case), once, relative to both roots in the source's
  // spelling (the destination's where the source holds none), in byte
  // order: nothing of such a group or below it is copied, renamed or
  // deleted, on either side.
  std::vector<std::string> same_names;
  // The trees as the scan read them, for the record the run leaves.
  std::shared_ptr<const BothTrees> trees;

  const std::optional<VolumeFacts>& destination_volume(const Roots& roots) const {
    return roots.destination(folder_volume, drive_volume);
  }
};

// The folders of a walked tree, its root included, that each pass can hold
// (the drive's tree is walked first); a tree with more is run-time error 9.
// The program scans with these defaults.
struct PassLimits {
  std::size_t first = 9999;
  std::size_t second = 8000;
};

// Only first-level folders that both roots have take part; files directly
// in either root are never touched. An empty folder path or a drive choice
// that names no drive is a root without subfolders: it would otherwise
// stand for a tree the user never chose.
// With a pair, its record and the drive's other records are read, and the
// times of a side whose clock moved are compared as the clock moved.
ScanOutcome scan_trees(const Roots& roots, WorkTables& tables, ScanProgress& progress,
                       ScanFindings& findings, const PassLimits& limits = {},
                       const state::PairKey* pair = nullptr);
ScanOutcome scan_trees(const Roots& roots, WorkTables& tables, ScanProgress& progress);

}  // namespace tav
