// The path of the running executable.
#pragma once

#include <string>

namespace tav::win32 {

// UTF-8, whatever its length.
std::string module_path();

}  // namespace tav::win32
