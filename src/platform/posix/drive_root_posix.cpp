#include "platform/posix/drive_root_posix.h"

#include <algorithm>

#include "platform/drives.h"
#include "platform/posix/volumes.h"

namespace tav::posix {

namespace {

std::string root_of(std::string_view mount_point) {
  return mount_point == "/" ? std::string("/") : std::string(mount_point) + "/";
}

}  // namespace

std::string named_mount_point(std::string_view entry) {
  const std::size_t slash = entry.find('/');
  if (slash == std::string_view::npos) return {};
  std::string_view point = entry.substr(slash);
  while (point.size() > 1 && point.back() == '/') point.remove_suffix(1);
  return std::string(point);
}

std::string resolve_volume_root(std::string_view entry, const std::vector<Drive>& listed,
                                const std::vector<std::string>& mounted_points) {
  const std::string named = named_mount_point(entry);
  if (!named.empty() && std::ranges::find(mounted_points, named) != mounted_points.end()) {
    return root_of(named);
  }
  if (entry.empty() || entry.front() == ' ') return {};
  const auto keyed = std::ranges::find_if(listed, [&](const Drive& drive) {
    return !drive.entry.empty() && drive.entry.front() == entry.front();
  });
  return keyed == listed.end() ? std::string() : keyed->root;
}

}  // namespace tav::posix

namespace tav {

// Volumes have no letters here, and a key is only a position in the list of
// this run: the mount point an entry names decides first, as long as a
// volume is mounted there when the user presses the direction button.
std::string resolve_drive_root(std::string_view entry, const std::vector<Drive>& listed) {
  return posix::resolve_volume_root(entry, listed, posix::mounted_volume_points());
}

}  // namespace tav
