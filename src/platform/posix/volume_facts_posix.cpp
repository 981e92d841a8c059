// Volume facts on Linux: the folder's status, the file system's statistics
// and the mount that holds the folder. A FUSE mount names its file system
// only in part: "fuse.fusefat" says FAT, while exFAT and NTFS through FUSE
// show as "fuseblk", whose device tells the rest.
#include "platform/volume_facts.h"

#include <sys/stat.h>
#include <sys/statvfs.h>

#include <climits>
#include <cstdlib>

#include "platform/posix/device_file_system.h"
#include "platform/posix/volumes.h"

namespace tav {

const bool kWindowsNamesEverywhere = false;

namespace {

struct FuseType {
  std::string_view mount_type;
  std::string_view file_system;
};
constexpr FuseType kFuseTypes[] = {{"fuse.fusefat", "vfat"}};
constexpr std::string_view kFuseOnDevice = "fuseblk";

std::string real_path(std::string_view path) {
  char resolved[PATH_MAX];
  return ::realpath(std::string(path).c_str(), resolved) ? std::string(resolved) : std::string();
}

bool lies_in(std::string_view path, std::string_view mount_point) {
  if (mount_point == "/") return true;
  return path.starts_with(mount_point) &&
         (path.size() == mount_point.size() || path[mount_point.size()] == '/');
}

// The mount that holds the path: the deepest mount point above it, the one
// mounted last where several share it.
std::optional<posix::MountEntry> mount_holding(const std::string& path) {
  std::optional<posix::MountEntry> found;
  for (auto& mount : posix::parse_mount_table(posix::read_mount_table())) {
    if (!lies_in(path, mount.mount_point)) continue;
    if (!found || mount.mount_point.size() >= found->mount_point.size()) found = std::move(mount);
  }
  return found;
}

void add_mount_facts(const std::string& folder, VolumeFacts& facts) {
  const auto mount = mount_holding(real_path(folder));
  if (!mount) return;
  facts.file_system = mount->fs_type;
  for (const auto& fuse : kFuseTypes) {
    if (mount->fs_type == fuse.mount_type) facts.file_system = fuse.file_system;
  }
  if (!mount->device.starts_with("/dev/")) return;
  const posix::DeviceFileSystem device = posix::device_file_system(mount->device);
  facts.identity.serial = device.serial;
  if (mount->fs_type == kFuseOnDevice && !device.type.empty()) facts.file_system = device.type;
}

}  // namespace

std::optional<VolumeFacts> volume_facts(std::string_view folder) {
  const std::string path(folder);
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0 || !S_ISDIR(status.st_mode)) return std::nullopt;
  VolumeFacts facts;
  facts.identity.volume = status.st_dev;
  facts.identity.folder = status.st_ino;
  // A file system that states no size (as some FUSE ones) says nothing of
  // its free space either.
  struct statvfs space {};
  if (::statvfs(path.c_str(), &space) == 0 && space.f_blocks > 0) {
    facts.free_bytes = std::uint64_t{space.f_bavail} * space.f_frsize;
    facts.allocation_unit = space.f_frsize;
  }
  add_mount_facts(path, facts);
  return facts;
}

}  // namespace tav
