// What the record of a pair's last run protects: after the scan and before
// the review, every entry that would delete or replace a destination file
// the last run did not leave as it is there, or remove a folder the last
// run did not know, is withdrawn as a double-click withdraws it. The record
// holds both sides, so this works in either direction.
#pragma once

#include <string>
#include <vector>

#include "volume_state/run_record.h"
#include "worklist/roots.h"
#include "worklist/work_tables.h"

namespace tav {

enum class Unrecorded {
  MadeSince,      // not in the record: made after the last run
  ChangedSince,   // not the version the last run left
  ChangedOnBoth,  // and the source's file changed since too
};

struct ProtectedEntry {
  std::string path;  // relative to both roots
  Unrecorded why;
};

// The entries withdrawn, folders first, each table in slot order.
std::vector<ProtectedEntry> withdraw_what_the_record_protects(WorkTables& tables,
                                                              const Roots& roots,
                                                              const state::RunRecord& record);

}  // namespace tav
