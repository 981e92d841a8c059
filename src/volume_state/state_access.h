// How the program reaches its own state on a volume, and every path an undo
// or a release touches: from the side's root, name by name, never through a
// link, a junction or onto another volume (platform/beneath.h). A place that
// cannot be reached so is refused: nothing is read from it and nothing is
// written through it.
#pragma once

#include <cstddef>
#include <source_location>
#include <string>
#include <string_view>

#include "platform/beneath.h"

namespace tav::state {

using sys::Reached;

// What stands at rel (the platform's separator) beneath the side's root
// (given with its separator); the root itself for an empty rel.
Reached reach(std::string_view root, std::string_view rel);

// The path the system is given for rel beneath root, once reached.
std::string at(std::string_view root, std::string_view rel);

// Whether the place is a real folder, or not there (nothing refused on the way).
inline bool usable(Reached reached) {
  return reached == Reached::Folder || reached == Reached::Missing;
}

// Makes each folder of rel beneath root that is missing; one that is
// refused (a link, a file, another volume) raises the refusal's run-time
// error before anything is written through it. The state folder, when it
// is made, is hidden from the system's file views.
void make_folders(std::string_view root, std::string_view rel,
                  std::source_location where = std::source_location::current());

// Raises the run-time error of a state the program may not use.
[[noreturn]] void refuse_state(std::source_location where = std::source_location::current());

// A state file read whole: none when it is not there, cannot be reached as
// a regular file, or is larger than limit.
enum class StateFile { Read, Missing, Damaged };
StateFile read_state_file(std::string_view root, std::string_view rel, std::size_t limit,
                          std::string& content);

}  // namespace tav::state
