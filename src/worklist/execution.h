// Carrying out the work lists: entries respelled, folders created, entries
// moved, files copied, files deleted and folders removed, in that order,
// with a running count in TEXT1.
#pragma once

#include <string>
#include <vector>

#include "files/copy_batch.h"
#include "volume_state/left_entry.h"
#include "volume_state/pair.h"
#include "volume_state/run_keeping.h"
#include "window/window.h"
#include "worklist/work_tables.h"

namespace tav {

// Copies are flushed and placed together, up to so many files, so many
// bytes or so long a time since the batch began.
inline constexpr CopyBatch::Limits kBatchLimits{64, std::uint64_t{64} << 20,
                                                std::chrono::seconds(1)};

// The room a run makes, as the free-space question decided: kept runs it
// releases as it starts, and copies that replace a file without keeping it.
struct RoomPlan {
  KeptRoom release;
  std::vector<std::size_t> unkept;  // slots of the copies table, ascending
};

// Whom a run belongs to, and the room it makes.
struct RunSetting {
  state::PairKey pair;
  RoomPlan room;
  // Every copy placed is read back from its medium at the end; only the
  // benchmarks leave the check out.
  bool check_copies = true;
};

struct ExecutionReport {
  bool stopped = false;         // the user stopped the run; what was done stays done
  // In the order the entries were met; then the copies placed without
  // keeping what they replaced (LeftReason::NotKept).
  std::vector<LeftEntry> left;
  std::size_t unconfirmed = 0;  // copies the medium did not give back as written
};

// CHECK1 checked when this starts leaves out every deletion, and copies
// what moved instead of moving it. Each entry is
// checked as it is acted on: what changed since the scan is left as it is,
// settled as left in its table, and answered; only what was done is listed
// in LIST1 and LIST2. A move that cannot be made by its rename is made as the
// copies and deletions it stands for. A close of the window or a click on BUTTON4 stops the
// run at once, within a copy too: that copy is abandoned, the finished ones
// are put in place. What the run deletes or replaces is kept and every
// action journalled (run_keeping.h). Whatever the run did is flushed to its
// medium before this returns. A refused operation raises its run-time
// error; what was done stays done. After the last flush every copy placed
// is read back from its medium, the newest first ("確認中" and its count in
// TEXT1); one the medium did not keep is taken back, left, and counted.

ExecutionReport execute_work_lists(Window& window, WorkTables& tables, const Roots& roots,
                                   const RunSetting& setting);

// "<label>   " followed by " <slot> / <count>".
std::string progress_text(std::string_view label, std::size_t slot, std::size_t count);

}  // namespace tav
