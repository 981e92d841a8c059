// The comparison scan: walks the drive tree and the folder tree, decides
// what to create, update and delete on the destination side, and fills the
// work tables and both lists.
#pragma once

#include "platform/window.h"
#include "worklist/roots.h"
#include "worklist/work_tables.h"

namespace tav {

enum class ScanOutcome {
  Review,      // entries were found: the user reviews them
  Completion,  // nothing to do
};

// Only first-level folders that both roots have take part; files directly
// in either root are never touched. A walked root without any subfolder (an
// empty folder path or drive choice included) shows a message and ends the
// program through the window.
ScanOutcome scan_trees(Window& window, const Roots& roots, WorkTables& tables);

}  // namespace tav
