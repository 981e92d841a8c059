#include "platform/drives.h"

namespace tav {

// Volumes have no letters here: a key alone must never decide which volume
// is written to. The text names its mount point after the type text; a
// text that does not is matched by its first character against the keys of
// the volumes listed at start-up.
std::string resolve_drive_root(std::string_view entry, const std::vector<Drive>& listed) {
  for (const Drive& drive : listed) {
    if (entry == drive.entry) return drive.root;
  }
  if (entry.empty() || entry.front() == ' ') return {};
  for (const Drive& drive : listed) {
    if (drive.entry.front() == entry.front()) return drive.root;
  }
  return {};
}

}  // namespace tav
