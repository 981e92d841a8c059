// Reading a file back from its medium, past the system's cache, to check
// what the medium really holds: a read served from the cache would give back
// what was written even where the medium lost it. The file's data must have
// been flushed to the medium first (a page still waiting to be written is
// written before it is dropped).
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/system_files.h"

namespace tav::sys {

// Reads from a file opened so take a buffer aligned to kMediumAlignment and
// a size that is a multiple of it (the sector size of the media the system
// reads past its cache, at its largest).
inline constexpr std::size_t kMediumAlignment = 4096;

// Opens a file to be read from its medium (shared with readers and
// writers); kNoHandle when the system refuses, with last_code to tell why.
// Where the file system cannot read past the cache at all, the file is read
// as the system gives it. Closed with release_file.
Handle open_from_medium(std::string_view path);

// Reads the next bytes of such a file into buffer: how many (0 at the end
// of the file), or -1 when the system refuses.
std::ptrdiff_t read_from_medium(Handle file, char* buffer, std::size_t size);

}  // namespace tav::sys
