// The room the copies of the work lists will take on the destination.
#pragma once

#include <cstdint>
#include <vector>

#include "volume_state/pair.h"
#include "worklist/work_tables.h"

namespace tav {

// The bytes the copies still listed will add to the destination: each
// source file in whole allocation units where the unit is known (0: bytes as
// they are). The files they replace are kept, so they free nothing; folders
// and deletions are not counted.
std::uint64_t bytes_to_add(const WorkTables& tables, Direction direction,
                           std::uint64_t allocation_unit);

// The copies that replace a file without keeping it, so that the run fits
// in room: the last listed first, as many as needed. Each such copy adds
// only what it is larger than the file it replaces, but while it is
// written both are there: the largest of them is counted whole.
struct UnkeptReplacements {
  std::vector<std::size_t> slots;  // of the copies table, in ascending order
  std::uint64_t saved = 0;         // what the run needs less than with every file kept
  bool fits = false;               // the run then fits in room
};
UnkeptReplacements replacements_to_leave_unkept(const WorkTables& tables, Direction direction,
                                                std::uint64_t allocation_unit, std::uint64_t room);

}  // namespace tav
