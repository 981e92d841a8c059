// The shell's folder browser and the machine's drives.
#pragma once

#include <string>
#include <vector>

#include "platform/window.h"

namespace tav::win32 {

// The folder chosen in the shell's browser (no owner, nothing preselected,
// default look), or empty when cancelled or when the item chosen has no
// file-system path.
std::string browse_for_folder();

// The drives A to Z that exist, in order, with their type texts.
std::vector<Drive> list_drives();

}  // namespace tav::win32
