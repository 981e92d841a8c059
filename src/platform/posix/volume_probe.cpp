// The system's side of the volume list: the mount table of the process and
// the block devices behind the mounts, read from /proc and /sys.
#include <sys/stat.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/posix/volumes.h"

namespace tav::posix {

namespace {

constexpr const char* kMountTable = "/proc/self/mounts";
constexpr std::string_view kBlockClass = "/sys/class/block/";

std::string real_path(const std::string& path) {
  char resolved[PATH_MAX];
  return ::realpath(path.c_str(), resolved) ? std::string(resolved) : std::string();
}

std::string first_line_of(const std::string& path) {
  std::ifstream file(path);
  std::string line;
  std::getline(file, line);
  return line;
}

bool exists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

bool is_folder(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// The sysfs folder of the whole disk a block device belongs to: the folder
// of a partition's parent disk, or the disk's own.
std::string disk_folder_of(const std::string& device) {
  if (!device.starts_with("/dev/")) return {};
  const std::string node = real_path(device);  // /dev/disk/by-label/... and the like
  if (node.empty()) return {};
  const std::string name = node.substr(node.rfind('/') + 1);
  std::string folder = real_path(std::string(kBlockClass) + name);
  if (folder.empty()) return {};
  if (exists(folder + "/partition")) folder = folder.substr(0, folder.rfind('/'));
  return folder;
}

}  // namespace

std::string read_mount_table() {
  std::ifstream file(kMountTable);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

bool is_removable_device(const std::string& device) {
  const std::string disk = disk_folder_of(device);
  if (disk.empty()) return false;
  // External disks on USB often report themselves as fixed.
  return first_line_of(disk + "/removable") == "1" || disk.find("/usb") != std::string::npos;
}

namespace {

std::vector<MountEntry> current_user_volumes() {
  std::vector<MountEntry> volumes = user_volumes(parse_mount_table(read_mount_table()));
  // A mount of a single file (as containers have) is no volume.
  std::erase_if(volumes, [](const MountEntry& volume) { return !is_folder(volume.mount_point); });
  return volumes;
}

}  // namespace

std::vector<Drive> list_mounted_volumes() {
  return volume_drives(current_user_volumes(), is_removable_device);
}

std::vector<std::string> mounted_volume_points() {
  std::vector<std::string> points;
  for (const auto& volume : current_user_volumes()) points.push_back(volume.mount_point);
  return points;
}

}  // namespace tav::posix
