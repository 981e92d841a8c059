// The record of a pair's last run as a file on the drive: found for the
// pair, read bounded and beneath the drive's root, and written with the care
// of a copy.
#pragma once

#include <cstddef>
#include <optional>
#include <source_location>
#include <vector>

#include "volume_state/pair.h"
#include "volume_state/run_record.h"

namespace tav::state {

// The pair of this computer's key and the folder the roots name.
PairKey pair_of(const Roots& roots);

// What reading the pair's record found.
struct RecordReading {
  std::optional<RunRecord> record;
  // There is a record, but it cannot be read whole (damaged, cut, of
  // another version, too large, a link or not a file): it counts as none.
  bool damaged = false;
};
// entries_seen: the entries the scan found on both sides, which bound the
// record's size.
RecordReading read_record(const Roots& roots, const PairKey& pair, std::size_t entries_seen);

// The records of the drive's other pairs (other folders, or the same folder
// on other computers) that read whole; at most kMostOtherRecords of them.
inline constexpr std::size_t kMostOtherRecords = 32;
std::vector<RunRecord> read_other_records(const Roots& roots, const PairKey& pair,
                                          std::size_t entries_seen);

// Writes the record unless the record there already holds exactly that. If
// it cannot be written, no record stays (one that is there would describe a
// state that is no longer true), and the refusal raises its run-time error.
void write_record(const Roots& roots, const PairKey& pair, const RunRecord& record,
                  std::source_location where = std::source_location::current());

// Where the pair's record lies under the drive's root; the record an older
// program wrote for the pair, where that is the one there.
std::string record_place(const Roots& roots, const PairKey& pair);

}  // namespace tav::state
