// The checks that keep the preview true to what the run will do: after the
// scan, what the destination cannot take and what the last run did not
// leave there leave the lists before the user reviews them; at the second
// press, before anything is changed, both drives must still be the ones
// scanned, a run that deletes most of the destination asks first, and the
// copies should fit.
#pragma once

#include <cstdint>
#include <optional>

#include "scan/scan_trees.h"
#include "volume_state/record_file.h"
#include "window/window.h"
#include "volume_state/pair.h"
#include "worklist/execution.h"
#include "worklist/work_tables.h"

namespace tav {

// After a scan that found entries: withdraws every entry the destination
// cannot take, then every entry the drive's records protect, finds what the
// source moved among the rest (scan/move_finding.h), rebuilds the lists and
// names what it withdrew in one box, which also says when the pair's
// record cannot be read and when a side's clock moved. Shows nothing when
// there is nothing to say.
void withdraw_before_the_review(Window& window, WorkTables& tables, const Roots& roots,
                                const ScanFindings& findings);

enum class Readiness {
  Execute,   // start the execution
  Review,    // back to the lists (the user cancelled)
  EndNow,    // end the program without writing the settings file
};

// At the second press. When a root's volume is gone or is no longer the one
// scanned, says so and ends; asks first when the deletions would remove at
// least half of the destination's files (and at least twenty), when a first
// run of the pair would delete or replace what other folders' runs left on
// the drive, and when the copies may not fit in the destination's free
// space: then the one question offers what makes them fit, in this order:
// releasing kept runs oldest first, the latest too where needed, then
// replacing the last listed files without keeping what they replace. The
// plan holds what the answer decided.
Readiness ready_to_execute(Window& window, const WorkTables& tables, const Roots& roots,
                           const ScanFindings& findings, RoomPlan& plan);

}  // namespace tav
