// The room the copies of the work lists will take on the destination.
#pragma once

#include <cstdint>

#include "volume_state/pair.h"
#include "worklist/work_tables.h"

namespace tav {

// The bytes the copies still listed will add to the destination: each
// source file in whole allocation units where the unit is known (0: bytes as
// they are). The files they replace are kept, so they free nothing; folders
// and deletions are not counted.
std::uint64_t bytes_to_add(const WorkTables& tables, Direction direction,
                           std::uint64_t allocation_unit);

}  // namespace tav
