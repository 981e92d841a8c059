// Where the program keeps its state on a volume: the folder ".tavrelon" at
// the root of a side, which never takes part in a run. The drive holds the
// record of each pair's last run; either side holds, under "kept", what each
// run that changed it deleted or replaced, with the run's journal.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace tav::state {

inline constexpr std::string_view kStateFolderName = ".tavrelon";

// Whether a first-level folder is the state folder; the name is compared
// without regard to case, as volumes that ignore case compare it.
bool is_state_folder_name(std::string_view name);

// A pair: this computer's folder with a drive. The same folder path on
// another computer is another pair.
struct PairKey {
  std::string text;  // the machine's identity, a line break, the folder path
  std::string id;    // a hash of the text: 16 hex digits
};
PairKey pair_key(std::string_view machine_id, std::string_view folder_path);

// Paths under a side's root (given with its separator).
std::string state_folder(std::string_view root);
std::string record_path(std::string_view drive_root, const PairKey& pair);
std::string kept_folder(std::string_view root);

// The name of a run's folder under kept: its local date and time, so that
// names sort by time, and the pair's id: "YYYYMMDD-HHMMSS-<id>", with
// "-undo" after it for the folder of an undo.
std::string run_name(std::time_t when, const PairKey& pair, bool undo = false);
// The pair id of a run's folder name; empty for a name that is not one.
std::string pair_of_run(std::string_view run_name);

}  // namespace tav::state
