// Where the program keeps its state on a volume: the folder ".tavrelon" at
// the root of a side, which never takes part in a run. Every place in it is
// named here and nowhere else:
//
//   .tavrelon/records/<pair id>               the record of a pair's last run (on the drive)
//   .tavrelon/kept/<run>/...                  what a run deleted or replaced, at its own paths
//   .tavrelon/kept/<run>/.tavrelon/journal    the run's journal
//   .tavrelon/kept/<run>/.tavrelon/record     the pair's record before the run (on the drive)
//
// The run's own files lie in a folder of the state folder's name inside the
// run's folder: no first-level folder of that name takes part in a run, so
// no kept file stands there. Places are given relative to the side's root,
// with the platform's separator: they are reached beneath the root
// (state_access.h), never joined onto it and followed.
#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

#include "volume_state/pair.h"

namespace tav::state {

inline constexpr std::string_view kStateFolderName = ".tavrelon";

// Whether a first-level folder is the state folder; the name is compared
// without regard to case, as volumes that ignore case compare it.
bool is_state_folder_name(std::string_view name);

namespace layout {

std::string state_folder();
std::string records_folder();
std::string record(std::string_view pair_id);
std::string kept_folder();
std::string run_folder(std::string_view run_name);
// The folder of a run's own files, and those files.
std::string own_folder(std::string_view run_name);
std::string journal(std::string_view run_name);
std::string kept_record(std::string_view run_name);
// The same files beside the kept ones, where runs stored before their
// folder of their own keep them.
std::string journal_beside(std::string_view run_name);
std::string kept_record_beside(std::string_view run_name);
// Where a run keeps the entry at rel (relative to the side's root).
std::string kept(std::string_view run_name, std::string_view rel);
// The names at the top of a run's folder that are the run's own.
bool is_own_name(std::string_view name);

}  // namespace layout

// Whether a name is a pair's id: 16 lower-case hex digits.
bool is_pair_id(std::string_view name);

// The name of a run's folder under kept: its local date and time (so that
// names are unique at a glance), the pair's id, "-undo" for the folder of an
// undo, and a number where two runs began within one second.
struct RunName {
  std::string pair_id;
  bool undo = false;
};
std::string run_name(std::time_t when, std::string_view pair_id, bool undo = false,
                     int number = 1);
// None for a name that is not exactly of that form.
std::optional<RunName> parse_run_name(std::string_view name);

}  // namespace tav::state
