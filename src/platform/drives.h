// From the drive the user chose to the root of that drive.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/window.h"

namespace tav {

// The root (ending in the separator) of the drive that COMBO1's text names,
// given the drives listed at start-up. Empty when the text names no drive
// this platform can address, which the scan treats as a drive without
// folders.
std::string resolve_drive_root(std::string_view entry, const std::vector<Drive>& listed);

}  // namespace tav
