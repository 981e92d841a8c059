#include "platform/drives.h"
#include "platform/text.h"

namespace tav {

// Drives are addressed by letter: the first character of the text, the
// letter of every item of the drive list, followed by ":\". An empty text,
// or one that starts with a space, gives ":\" alone, which names no folder.
std::string resolve_drive_root(std::string_view entry, const std::vector<Drive>&) {
  std::string root;
  if (!entry.empty() && entry.front() != ' ') {
    std::size_t end = 0;
    next_char(entry, end);
    root = entry.substr(0, end);
  }
  return root + ":" + kPathSeparator;
}

}  // namespace tav
