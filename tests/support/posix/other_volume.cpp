#include "support/other_volume.h"

#include <sys/mount.h>

#include "support/temp_tree.h"

namespace tav::test {

namespace {

bool mount_small_tmpfs(const std::string& folder) {
  return ::mount("tavrelon-other", folder.c_str(), "tmpfs", 0, "size=64k") == 0;
}

}  // namespace

bool OtherVolume::possible() {
  const TempTree probe;
  if (!mount_small_tmpfs(probe.root())) return false;
  ::umount2(probe.root().c_str(), MNT_DETACH);
  return true;
}

OtherVolume::OtherVolume(std::string folder) : folder_(std::move(folder)) {
  mounted_ = mount_small_tmpfs(folder_);
}

OtherVolume::~OtherVolume() {
  if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
}

}  // namespace tav::test
