// Facts about the volume that holds a folder: which volume it is, what file
// system it holds and how much room is left on it. The scan asks them of
// both roots once; the second press asks again before anything is changed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tav {

// What tells one volume, and one root folder on it, from another. Two
// sticks of the same make mounted at the same place differ at least in the
// file system's own serial.
struct VolumeIdentity {
  std::uint64_t volume = 0;  // the device number, or the volume serial number
  std::uint64_t folder = 0;  // the folder's own file index (its inode)
  std::string serial;        // the file system's UUID or serial where it can be read
  bool operator==(const VolumeIdentity&) const = default;
};

struct VolumeFacts {
  VolumeIdentity identity;
  // The file system as the system names it, such as "NTFS", "FAT32", "exFAT"
  // (Windows) or "ext4", "vfat", "exfat", "tmpfs" (Linux).
  std::string file_system;
  std::optional<std::uint64_t> free_bytes;  // what this user may still write
  std::uint64_t allocation_unit = 0;        // a file takes whole units; 0: unknown
};

// The facts of the volume that holds the folder (with or without its
// trailing separator); none when the folder cannot be reached.
std::optional<VolumeFacts> volume_facts(std::string_view folder);

// Whether this system refuses the names Windows refuses on every volume.
extern const bool kWindowsNamesEverywhere;

}  // namespace tav
