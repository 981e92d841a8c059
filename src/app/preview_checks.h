// The checks that keep the preview true to what the run will do: after the
// scan, what the destination cannot take leaves the lists before the user
// reviews them; at the second press, before anything is changed, both
// drives must still be the ones scanned, and the copies should fit.
#pragma once

#include "window/window.h"
#include "scan/scan_trees.h"
#include "worklist/roots.h"
#include "worklist/work_tables.h"

namespace tav {

// After a scan that found entries: withdraws every entry the destination
// cannot take, rebuilds LIST1 and names them in one box. Shows nothing when
// the destination can take everything.
void withdraw_what_the_destination_refuses(Window& window, WorkTables& tables, const Roots& roots,
                                           const ScanFindings& findings);

enum class Readiness {
  Execute,   // start the execution
  Review,    // back to the lists (the user cancelled)
  EndNow,    // end the program without writing the settings file
};

// At the second press. When a root's volume is gone or is no longer the one
// scanned, says so and ends; asks whether to go on when the copies may not
// fit in the destination's free space.
Readiness ready_to_execute(Window& window, const WorkTables& tables, const Roots& roots,
                           const ScanFindings& findings);

}  // namespace tav
