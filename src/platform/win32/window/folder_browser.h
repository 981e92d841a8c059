// The shell's folder browser.
#pragma once

#include <string>

namespace tav::win32 {

// The folder chosen in the shell's browser (no owner, nothing preselected,
// default look), or empty when cancelled or when the item chosen has no
// file-system path.
std::string browse_for_folder();

}  // namespace tav::win32
