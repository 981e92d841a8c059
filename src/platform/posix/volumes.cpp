#include "platform/posix/volumes.h"

#include <algorithm>
#include <map>
#include <span>

#include "platform/drive_entry.h"

namespace tav::posix {

namespace {

// File systems of the kernel and the desktop that hold no user files, and
// the read-only images that packages are mounted from.
constexpr std::string_view kSystemTypes[] = {
    "proc",       "sysfs",         "devtmpfs",     "devpts",          "cgroup",
    "cgroup2",    "mqueue",        "debugfs",      "tracefs",         "securityfs",
    "pstore",     "bpf",           "configfs",     "fusectl",         "hugetlbfs",
    "autofs",     "binfmt_misc",   "efivarfs",     "rpc_pipefs",      "nsfs",
    "selinuxfs",  "nfsd",          "overlay",      "squashfs",        "rootfs",
    "sockfs",     "pipefs",        "anon_inodefs", "fuse.gvfsd-fuse", "fuse.portal",
    "fuse.lxcfs", "fuse.snapfuse", "xenfs",        "usbfs",           "devfs",
};

// Folders where only the system mounts, and the exceptions inside them
// where desktops mount removable media.
constexpr std::string_view kSystemFolders[] = {
    "/proc", "/sys", "/dev", "/run", "/boot", "/snap", "/var/lib/docker",
    "/var/lib/containers", "/var/lib/snapd",
};
constexpr std::string_view kUserFoldersInSystem[] = {"/run/media"};

constexpr std::string_view kNetworkTypes[] = {
    "nfs",  "nfs4",      "cifs",           "smb3",  "smbfs",       "sshfs",       "fuse.sshfs",
    "9p",   "afs",       "ceph",           "glusterfs", "fuse.glusterfs", "davfs", "fuse.davfs2",
    "fuse.rclone", "ncpfs",
};
constexpr std::string_view kOpticalTypes[] = {"iso9660", "udf"};
constexpr std::string_view kRamTypes[] = {"tmpfs", "ramfs"};

constexpr std::string_view kKeys =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

bool is_one_of(std::string_view value, std::span<const std::string_view> set) {
  return std::ranges::find(set, value) != set.end();
}

bool is_inside_one_of(std::string_view path, std::span<const std::string_view> folders) {
  return std::ranges::any_of(folders, [path](std::string_view folder) {
    return path == folder || (path.starts_with(folder) && path.size() > folder.size() &&
                              path[folder.size()] == '/');
  });
}

bool is_octal(char c) { return c >= '0' && c <= '7'; }

// A field of the mount table: "\040" and the like stand for the byte of
// that octal value (space, tab, newline and the backslash are escaped).
std::string decode_field(std::string_view field) {
  std::string decoded;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\\' && i + 3 < field.size() && is_octal(field[i + 1]) &&
        is_octal(field[i + 2]) && is_octal(field[i + 3])) {
      decoded += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                   (field[i + 3] - '0'));
      i += 3;
    } else {
      decoded += field[i];
    }
  }
  return decoded;
}

// The fields of one line, separated by spaces or tabs.
std::vector<std::string_view> fields_of(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t pos = 0;
  while (pos < line.size()) {
    const std::size_t start = line.find_first_not_of(" \t", pos);
    if (start == std::string_view::npos) break;
    const std::size_t end = std::min(line.find_first_of(" \t", start), line.size());
    fields.push_back(line.substr(start, end - start));
    pos = end;
  }
  return fields;
}

bool is_user_volume(const MountEntry& mount) {
  if (mount.mount_point == "/") return true;
  if (is_one_of(mount.fs_type, kSystemTypes)) return false;
  return !is_inside_one_of(mount.mount_point, kSystemFolders) ||
         is_inside_one_of(mount.mount_point, kUserFoldersInSystem);
}

}  // namespace

std::vector<MountEntry> parse_mount_table(std::string_view text) {
  std::vector<MountEntry> entries;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t end = std::min(text.find('\n', pos), text.size());
    const auto fields = fields_of(text.substr(pos, end - pos));
    if (fields.size() >= 3) {
      entries.push_back({decode_field(fields[0]), decode_field(fields[1]), decode_field(fields[2])});
    }
    pos = end + 1;
  }
  return entries;
}

std::vector<MountEntry> user_volumes(const std::vector<MountEntry>& mounts) {
  // A later mount on the same point hides the earlier one.
  std::map<std::string, const MountEntry*> visible;
  for (const auto& mount : mounts) visible[mount.mount_point] = &mount;
  std::vector<MountEntry> volumes;
  for (const auto& [point, mount] : visible) {
    if (is_user_volume(*mount)) volumes.push_back(*mount);
  }
  return volumes;
}

int volume_type(const MountEntry& volume, bool removable_device) {
  if (is_one_of(volume.fs_type, kNetworkTypes)) return drive_type::kRemote;
  if (is_one_of(volume.fs_type, kOpticalTypes)) return drive_type::kCdRom;
  if (is_one_of(volume.fs_type, kRamTypes)) return drive_type::kRamDisk;
  return removable_device ? drive_type::kRemovable : drive_type::kFixed;
}

std::vector<Drive> volume_drives(const std::vector<MountEntry>& volumes,
                                 const RemovableProbe& removable) {
  std::vector<Drive> drives;
  for (std::size_t i = 0; i < volumes.size() && i < kKeys.size(); ++i) {
    const MountEntry& volume = volumes[i];
    const int type = volume_type(volume, removable(volume.device));
    const std::string root = volume.mount_point == "/" ? "/" : volume.mount_point + "/";
    drives.push_back({std::string(1, kKeys[i]) + ": " + std::string(drive_type_text(type)) + " " +
                          volume.mount_point,
                      root});
  }
  return drives;
}

}  // namespace tav::posix
