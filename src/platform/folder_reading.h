// Reading a folder whole, as the scan reads both trees: one listing per
// folder with what the scan compares, and the system's own look-up of a
// name, which decides whether two spellings name one entry.
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tav {

// A last-write time at the file system's full resolution (UTC).
struct WriteTime {
  std::int64_t seconds = 0;  // since 1970-01-01
  std::uint32_t nanoseconds = 0;
  auto operator<=>(const WriteTime&) const = default;
};

// A file's last write at full resolution and its size: what tells one
// version of it from another.
struct FileVersion {
  WriteTime written;
  std::uint64_t size = 0;
  bool operator==(const FileVersion&) const = default;
};

// FAT keeps write times to two seconds: two times that close are one time
// on the coarsest volume a run meets.
inline constexpr std::int64_t kCoarsestTimeStep = 2;

// Whether two write times (in seconds) are one as the coarsest volume keeps
// them; never overflows, whatever times a volume reports.
inline bool same_time(std::int64_t a, std::int64_t b) {
  const auto apart = a > b ? static_cast<std::uint64_t>(a) - static_cast<std::uint64_t>(b)
                           : static_cast<std::uint64_t>(b) - static_cast<std::uint64_t>(a);
  return apart <= static_cast<std::uint64_t>(kCoarsestTimeStep);
}

// The same size and write time, as the coarsest volume keeps them.
inline bool alike(const FileVersion& a, const FileVersion& b) {
  return a.size == b.size && same_time(a.written.seconds, b.written.seconds);
}

// One entry of a folder as its listing found it.
struct ListedEntry {
  std::string name;
  std::uint64_t size = 0;  // 0 for a folder
  WriteTime written;
  bool folder = false;  // a folder, or a link to one
  bool link = false;    // a symbolic link or junction
  // The entry's own number on its volume (an inode number, a file index);
  // 0 where the listing gives none. It lasts across renames only on some
  // file systems: the scan decides where it may be trusted.
  std::uint64_t identity = 0;

  FileVersion version() const { return {written, size}; }
};

// The entries of a folder (its path without a trailing separator) in the
// order the system lists them, without "." and "..": a link is described by
// what it leads to and marked; an entry removed while it is listed is left
// out. False, with no entries, when the folder cannot be listed.
bool read_folder(const std::string& folder, std::vector<ListedEntry>& entries);

// Whether a look-up of the name in the folder finds an entry.
bool lookup_finds(const std::string& folder, std::string_view name);

// The entry at exactly this path now, described as a listing describes it
// (its name left empty; its identity where the description gives it free,
// else 0); none when nothing stands there.
std::optional<ListedEntry> entry_at(const std::string& path);

// The identity of the entry at exactly this path, as a listing gives it; 0
// when nothing stands there or the system gives none. It may cost a look-up
// of its own.
std::uint64_t identity_at(const std::string& path);

// Whether every look-up of this system ignores case, whatever the volume.
extern const bool kLookupsIgnoreCase;

}  // namespace tav
