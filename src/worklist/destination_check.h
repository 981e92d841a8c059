// The entries of LIST1 that the destination cannot take, found after the
// scan and withdrawn before the user reviews the lists, so that the run
// that follows never meets them.
#pragma once

#include <string>
#include <vector>

#include "worklist/destination_rules.h"
#include "volume_state/pair.h"
#include "worklist/work_tables.h"

namespace tav {

struct RefusedEntry {
  std::string path;  // relative to both roots
  Refusal why;
};

// Withdraws every folder to create, every copy and every rename that the
// destination cannot take, each as a confirmed double-click would (a folder
// with everything below it). Of two entries whose paths are one path there
// (the same in their composed Unicode form, or on a destination that
// ignores case also in their letters' case), the later one is withdrawn:
// folders come before files (they are made first), each in the order of
// their paths. The withdrawn entries in the order of their paths.
std::vector<RefusedEntry> withdraw_refused_entries(WorkTables& tables, const Roots& roots,
                                                   const DestinationRules& rules);

}  // namespace tav
