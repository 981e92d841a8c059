// The record of a pair's last run as a file on the drive, read and written
// with the care of a copy.
#pragma once

#include <optional>
#include <source_location>
#include <string_view>

#include "volume_state/run_record.h"
#include "volume_state/state_folder.h"

namespace tav::state {

// The pair's record; none when there is none, or it cannot be read whole
// (a damaged, cut or unknown one counts as none and never raises).
std::optional<RunRecord> read_record(std::string_view drive_root, const PairKey& pair);

// The record's bytes, when it can be read whole; none otherwise.
std::optional<std::string> record_bytes(std::string_view drive_root, const PairKey& pair);

// Makes the state folder of a side and the folder below it named rel (with
// the platform's separator), each where it is missing.
void make_state_folders(std::string_view root, std::string_view rel,
                        std::source_location where = std::source_location::current());

}  // namespace tav::state
