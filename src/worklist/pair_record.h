// The record of a pair's last run on the drive, as the main flow meets it:
// read after the scan, written at completion.
#pragma once

#include <optional>
#include <source_location>

#include "volume_state/run_record.h"
#include "volume_state/state_folder.h"
#include "worklist/roots.h"

namespace tav {

// The pair of this computer's identity and the folder the roots name.
state::PairKey pair_of(const Roots& roots);

// The pair's record, when there is one that can be read whole.
std::optional<state::RunRecord> record_of_pair(const Roots& roots, const state::PairKey& pair);

// Writes the record of what both trees hold now, unless the record there
// already holds exactly that. If it cannot be written, no record stays
// (one that is there would describe a state that is no longer true), and
// the refusal raises its run-time error.
void record_the_run(const Roots& roots, const state::PairKey& pair,
                    std::source_location where = std::source_location::current());

}  // namespace tav
