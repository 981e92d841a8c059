// After the scan and before the review, every entry that would delete or
// replace what the drive's records protect
// (volume_state/record_protection.h) is withdrawn as a double-click
// withdraws it.
#pragma once

#include <string>
#include <vector>

#include "volume_state/pair.h"
#include "volume_state/record_protection.h"
#include "worklist/work_tables.h"

namespace tav {

struct ProtectedEntry {
  std::string path;  // relative to both roots
  state::Unrecorded why;
};

// The entries withdrawn, folders first, each table in slot order.
std::vector<ProtectedEntry> withdraw_what_the_record_protects(
    WorkTables& tables, const Roots& roots, const state::RecordProtection& protection);

}  // namespace tav
