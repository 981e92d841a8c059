#include "worklist/space_needed.h"

#include <algorithm>

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

UnkeptReplacements replacements_to_leave_unkept(const WorkTables& tables, Direction direction,
                                                std::uint64_t allocation_unit, std::uint64_t room) {
  const std::uint64_t needed = bytes_to_add(tables, direction, allocation_unit);
  UnkeptReplacements unkept;
  std::uint64_t overlap = 0;       // the room each unkept copy shares with the file it replaces
  std::uint64_t held_at_once = 0;  // the largest such share, held while that copy is written
  const auto needs = [&] { return needed - overlap + held_at_once; };
  for (std::size_t slot = tables.copies.count(); slot >= 1 && needs() > room; --slot) {
    if (tables.copies.state(slot) != SlotState::Listed) continue;
    const CopyEntry& entry = tables.copies[slot];
    const auto& source = source_side(direction, entry.left_seen, entry.right_seen);
    const auto& replaced = destination_side(direction, entry.left_seen, entry.right_seen);
    if (!source || !replaced) continue;
    const std::uint64_t shared = std::min(in_whole_units(source->size, allocation_unit),
                                          in_whole_units(replaced->size, allocation_unit));
    overlap += shared;
    held_at_once = std::max(held_at_once, shared);
    unkept.slots.push_back(slot);
  }
  std::ranges::reverse(unkept.slots);
  unkept.saved = overlap - held_at_once;
  unkept.fits = needs() <= room;
  return unkept;
}

}  // namespace tav
