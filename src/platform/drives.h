// The machine's drives as the drive list shows them, and from the drive
// the user chose to the root of that drive.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tav {

// One drive of the drive list: the text shown, and the root it stands for.
struct Drive {
  std::string entry;  // such as "E: USB・FD等交換可能ディスク"
  std::string root;   // such as "E:\"
};

// The machine's drives (on systems without drive letters, the mounted
// volumes a user would sync with) in order, as they are now.
std::vector<Drive> list_drives();

// The root (ending in the separator) of the drive that COMBO1's text names,
// given the drives listed at start-up. Empty when the text names no drive
// this platform can address, which the scan treats as a drive without
// folders.
std::string resolve_drive_root(std::string_view entry, const std::vector<Drive>& listed);

}  // namespace tav
