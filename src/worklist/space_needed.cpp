#include "worklist/space_needed.h"

namespace tav {

namespace {

std::uint64_t in_whole_units(std::uint64_t size, std::uint64_t unit) {
  return unit == 0 ? size : (size + unit - 1) / unit * unit;
}

}  // namespace

std::uint64_t bytes_to_add(const WorkTables& tables, Direction direction,
                           std::uint64_t allocation_unit) {
  std::uint64_t added = 0;
  for (const auto& [slot, entry] : tables.copies.listed()) {
    const auto& source = source_side(direction, entry.left_seen, entry.right_seen);
    if (source) added += in_whole_units(source->size, allocation_unit);
  }
  return added;
}

}  // namespace tav
