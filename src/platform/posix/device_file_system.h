// The file system on a block device as the device itself tells it: a FUSE
// mount shows only "fuseblk" in the mount table, and no mount shows the
// file system's serial, which tells two sticks at one mount point apart.
#pragma once

#include <string>
#include <string_view>

namespace tav::posix {

struct DeviceFileSystem {
  std::string type;    // "vfat", "exfat", "ntfs"; empty when not recognised
  std::string serial;  // as the udev record spells it; empty when unknown
  bool operator==(const DeviceFileSystem&) const = default;
};

// The first bytes of a volume hold its boot sector (and, at 1 KiB, the
// superblock of the ext file systems).
inline constexpr std::size_t kVolumeHeadBytes = 2048;

// What the first bytes of a volume say of its file system.
DeviceFileSystem file_system_in(std::string_view head);

// The file system on the device: read from the device where this user may
// read it, otherwise from the record udev keeps of the device.
DeviceFileSystem device_file_system(const std::string& device);

}  // namespace tav::posix
