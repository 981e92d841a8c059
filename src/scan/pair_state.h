// What both trees of a pair hold in the first-level folders that take part
// (those both roots have as folders, the state folder never among them):
// the record of a run, and the count of the destination's files there.
#pragma once

#include <cstddef>
#include <string>

#include "scan/both_trees.h"
#include "scan/tree_snapshot.h"
#include "volume_state/run_record.h"
#include "volume_state/pair.h"
#include "worklist/work_tables.h"

namespace tav {

// The record of the trees as they are: every folder and file of the
// first-level folders that take part, each side's version of it.
state::RunRecord record_of(const BothTrees& trees, std::string key);

// Reads both trees again as they are now and records them.
state::RunRecord record_of_trees_now(const Roots& roots, std::string key);

// The record a completed run leaves (volume_state/agreed_record.h): from the
// trees the scan read, the entries the run carried out as they are now, and
// the previous record for everything else.
state::RunRecord record_after_run(const BothTrees& trees, const WorkTables& tables,
                                  const Roots& roots, const state::RunRecord* previous,
                                  std::string key);

// The seconds a side's clock moved since the record (volume_state/
// clock_shift.h), by the files the record knows on that side.
std::int64_t clock_shift_of(const TreeSnapshot& side, const TreeSnapshot& other,
                            const state::RunRecord& record, bool folder_side);

// The files of the first-level folders that take part, on the walked side.
std::size_t files_taking_part(const TreeSnapshot& walked, const TreeSnapshot& other);

}  // namespace tav
