// From the drive entry in COMBO1 to the root of a mounted volume, on a
// system that addresses volumes by their mount points.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/drives.h"

namespace tav::posix {

// The mount point an entry names: its text from the first "/" on, without
// a trailing "/" (except for "/" itself); empty when it names none.
std::string named_mount_point(std::string_view entry);

// The root of the volume an entry stands for: the mount point it names when
// that is one of the mounted points; otherwise the root of the listed drive
// whose key is the entry's first byte; otherwise empty.
std::string resolve_volume_root(std::string_view entry, const std::vector<Drive>& listed,
                                const std::vector<std::string>& mounted_points);

}  // namespace tav::posix
