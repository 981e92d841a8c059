// The mounted volumes of a system without drive letters, as the drive list
// shows them: the root file system, removable media, other disks, network
// shares and RAM file systems, but none of the system's own mounts.
//
// Each volume is listed as a one-character key, ": ", the text of its drive
// type, one space and its mount point, e.g. "B: USB・FD等交換可能ディスク
// /media/kim/STICK"; its root is the mount point ending in "/". The volumes
// are sorted by mount point and keyed A to Z, then a to z, then 0 to 9, so
// "/" is always A and the same set of volumes gets the same keys whatever
// order they were mounted in. Volumes beyond the 62nd are not listed.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/drives.h"

namespace tav::posix {

// One line of the mount table, its fields with octal escapes decoded.
struct MountEntry {
  std::string device;
  std::string mount_point;
  std::string fs_type;
  bool operator==(const MountEntry&) const = default;
};

// The entries of a mount table in the format of /proc/self/mounts, in order.
std::vector<MountEntry> parse_mount_table(std::string_view text);

// The mounts a user would sync with, one per mount point (the one mounted
// last, which hides the others), sorted by mount point.
std::vector<MountEntry> user_volumes(const std::vector<MountEntry>& mounts);

// The drive type value (drive_type::...) of a volume.
int volume_type(const MountEntry& volume, bool removable_device);

// Whether the block device of a mount is removable.
using RemovableProbe = std::function<bool(const std::string& device)>;

// The drive list entries of the volumes, keyed in order.
std::vector<Drive> volume_drives(const std::vector<MountEntry>& volumes,
                                 const RemovableProbe& removable);

// The mount table of this process now; empty if it cannot be read.
std::string read_mount_table();

// The removable flag of the device's disk (/sys/block/<disk>/removable), or a
// disk on a USB bus; false for anything that is not a block device.
bool is_removable_device(const std::string& device);

// The user volumes mounted now, as drives.
std::vector<Drive> list_mounted_volumes();

// The mount points of the user volumes mounted now.
std::vector<std::string> mounted_volume_points();

}  // namespace tav::posix
