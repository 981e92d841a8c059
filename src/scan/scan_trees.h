// The comparison scan: walks the drive tree and the folder tree and decides
// what to create, update and delete on the destination side, filling the
// work tables.
#pragma once

#include <string_view>

#include "worklist/roots.h"
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

// Only first-level folders that both roots have take part; files directly
// in either root are never touched. An empty folder path or a drive choice
// that names no drive is a root without subfolders: it would otherwise
// stand for a tree the user never chose.
ScanOutcome scan_trees(const Roots& roots, WorkTables& tables, ScanProgress& progress);

}  // namespace tav
