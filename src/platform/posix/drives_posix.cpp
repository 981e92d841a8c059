#include "platform/posix/drives_posix.h"

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
  // A named mount point decides alone: with no volume mounted there now, the
  // text names nothing, whatever volume its key stands for today.
  if (const std::string named = named_mount_point(entry); !named.empty()) {
    const bool mounted = std::ranges::find(mounted_points, named) != mounted_points.end();
    return mounted ? root_of(named) : std::string();
  }
  if (entry.empty() || entry.front() == ' ') return {};
  const auto keyed = std::ranges::find_if(listed, [&](const Drive& drive) {
    return !drive.entry.empty() && drive.entry.front() == entry.front();
  });
  return keyed == listed.end() ? std::string() : keyed->root;
}

}  // namespace tav::posix

namespace tav {

std::vector<Drive> list_drives() { return posix::list_mounted_volumes(); }

// Volumes have no letters here, and a key is only a position in the list of
// this run: the mount point an entry names decides, as long as a volume is
// mounted there when the user presses the direction button; a key alone
// (typed, with no mount point) picks from the list of this run.
std::string resolve_drive_root(std::string_view entry, const std::vector<Drive>& listed) {
  return posix::resolve_volume_root(entry, listed, posix::mounted_volume_points());
}

}  // namespace tav
