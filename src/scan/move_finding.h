// Entries the source moved since the pair's last run, found from its
// record: a file the record knows at P that the source no longer holds,
// and a file the source holds at Q that the record does not know, are one
// file moved when the source's file at Q is the one the record noted at P
// (the same size and write time, and the same identity where the source's
// volume keeps one that lasts, or else the bytes the record's hash names)
// and nothing else matches either. A folder
// whose every entry moved into one new folder, in the same places, moved
// whole. Only a destination entry exactly as the record says moves: what
// changed there since is protected as it always is.
#pragma once

#include <cstddef>
#include <cstdint>

#include "volume_state/pair.h"
#include "volume_state/run_record.h"
#include "worklist/work_tables.h"

namespace tav {

// Among the listed entries, replaces each move's creation and deletion by
// one listed move (WorkTables::moves); source_volume: the source tree's
// identity volume (TreeSnapshot::identity_volume). The number of moves.
std::size_t find_moves(WorkTables& tables, const Roots& roots, const state::RunRecord& record,
                       std::uint64_t source_volume);

}  // namespace tav
