// The runs kept on a side: listed, sized, read, and released (deleted for
// good) when they are old, always sparing the latest ones.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <source_location>
#include <string>
#include <string_view>
#include <vector>

#include "platform/folder_reading.h"
#include "volume_state/journal.h"

namespace tav::state {

struct KeptRunFolder {
  std::string name;    // "YYYYMMDD-HHMMSS-<pair id>", then "-undo" for an undo's
  std::string folder;  // its path
  WriteTime written;   // the folder's last write
  std::string pair_id;
  bool undo = false;   // the folder of an undo, not of a run
};

// The runs under the side's kept folder (root with its separator), oldest
// first; none where there is no kept folder.
std::vector<KeptRunFolder> kept_runs(std::string_view root);

inline constexpr std::chrono::hours kKeptFor{24 * 30};
inline constexpr std::size_t kRunsAlwaysKept = 3;

// The runs the side may release now: written longer ago than kKeptFor, all
// but the latest kRunsAlwaysKept; oldest first.
std::vector<KeptRunFolder> runs_to_release(const std::vector<KeptRunFolder>& runs,
                                           std::int64_t now_seconds);
// Every other run the side may release when room is needed, oldest first.
std::vector<KeptRunFolder> runs_that_may_go(const std::vector<KeptRunFolder>& runs);

// The room the run's files take, each in whole allocation units (0: bytes).
std::uint64_t room_of(const KeptRunFolder& run, std::uint64_t allocation_unit);

// Deletes the run for good, its files first, then its folders.
void release(const KeptRunFolder& run,
             std::source_location where = std::source_location::current());

// The run's journal; none when it cannot be read.
std::optional<Journal> journal_of(const KeptRunFolder& run);

}  // namespace tav::state
