// Paths beneath a side's root, reached as untrusted input: the state folder
// on a removable drive and what an undo touches may hold links, junctions,
// FIFOs, devices or mounts of other volumes. Every name is reached from the
// root one by one, never through a link and never onto another volume, and
// state files are read bounded and without blocking.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tav::sys {

// What stands at a path beneath a root, reached name by name from the root
// without following a link and without leaving the root's volume.
enum class Reached {
  Missing,  // a name is not there; every folder before it is a real folder
  File,     // a regular file
  Folder,   // a real folder (not a link, junction or other reparse point)
  Refused,  // a link, junction or reparse point, a device, a FIFO or socket, something on
            // another volume, a name on the way that is not a real folder, a name that is
            // empty, "." or ".." or holds a separator (or anything else this system would
            // not take as the name it is), or a folder on the way the system will not open
};

// root: the side's root as the program spells it (absolute, ending in the
// platform's separator; the root itself is trusted and may be reached
// through links). rel: names below it separated by kPathSeparator; an empty
// rel is the root itself (a Folder).
Reached reach_beneath(std::string_view root, std::string_view rel);

enum class ReadBeneath {
  Read,      // content holds the whole file
  Missing,   // as Reached::Missing
  Refused,   // anything but a regular file, reached as reach_beneath refuses it
  TooLarge,  // more than max_bytes
  Failed,    // the system would not open or read it
};

// Reads a regular file beneath root whole into content, reached as
// reach_beneath reaches it. Never blocks: a FIFO or a device is refused
// before anything is read. Never reads more than max_bytes + 1 bytes, so a
// file that grows while it is read answers TooLarge as well. content is
// changed only when the answer is Read.
ReadBeneath read_beneath(std::string_view root, std::string_view rel, std::size_t max_bytes,
                         std::string& content);

}  // namespace tav::sys
