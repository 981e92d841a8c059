// Whether the running system's root is a mount point, which the tests of the
// running system's volume list need: in a chroot it is not, and the lists
// rightly leave "/" out.
#pragma once

#include <algorithm>

#include "platform/posix/volumes.h"

namespace tav::posix::test {

inline constexpr const char* kRootNotMounted =
    "\"/\" is not a mount point of this system (a chroot?), so no list names it";

inline bool root_is_mounted() {
  return std::ranges::any_of(parse_mount_table(read_mount_table()),
                             [](const MountEntry& mount) { return mount.mount_point == "/"; });
}

}  // namespace tav::posix::test
