// The runs kept on a side: listed, sized, read, and released (deleted for
// good) when they are old or their room is wanted, always sparing the
// latest ones. Only what lies beneath the side's kept folder, reached
// without following a link, is ever listed, read or released.
#pragma once

#include <chrono>
#include <ctime>
#include <cstdint>
#include <optional>
#include <source_location>
#include <string>
#include <string_view>
#include <vector>

#include "platform/folder_reading.h"
#include "volume_state/journal.h"
#include "volume_state/state_layout.h"

namespace tav::state {

struct KeptRunFolder {
  std::string root;   // of the side, with its separator
  std::string name;   // state_layout.h: run_name
  RunName run;        // whose run, and whether an undo's
  WriteTime written;  // the folder's last write

  std::string rel() const { return layout::run_folder(name); }
};

// A name for a new run's folder under the side's kept folder that no
// folder takes: a second run within one second takes a number.
std::string new_run_name(std::string_view root, std::time_t when, std::string_view pair_id,
                         bool undo);

// The runs under the side's kept folder, oldest first; none where there is
// no kept folder or it cannot be reached as a real folder on the side's
// volume. A run's folder that is a link, or not a real folder, is no run.
std::vector<KeptRunFolder> kept_runs(std::string_view root);

inline constexpr std::chrono::hours kKeptFor{24 * 30};
inline constexpr std::size_t kRunsAlwaysKept = 3;

// The runs a side releases and the room that frees, each file in whole
// allocation units (0: bytes as they are): every run written longer ago
// than kKeptFor, then, while less than room_wanted is freed, every other
// run oldest first; never the latest kRunsAlwaysKept unless latest_too,
// when they go last, oldest first. The free-space question and the run
// both decide by this one rule.
struct Release {
  std::vector<KeptRunFolder> runs;
  std::uint64_t room = 0;
};
Release runs_to_release(const std::vector<KeptRunFolder>& runs, std::int64_t now_seconds,
                        std::uint64_t allocation_unit, std::uint64_t room_wanted,
                        bool latest_too = false);

// Deletes the run for good, its files first, then its folders, as far as
// the system lets it: what cannot be reached beneath the run's folder, or
// cannot be deleted, stays as it is, and never fails the run that releases.
void release(const KeptRunFolder& run);

// Whether the run's folder holds a journal at all: the drive's folder of a
// run that changed the folder side holds only the record the run kept.
bool has_journal(const KeptRunFolder& run);
// The run's journal; none when it cannot be read whole (journal.h).
std::optional<Journal> journal_of(const KeptRunFolder& run);

}  // namespace tav::state
