// The user's configuration folder: $XDG_CONFIG_HOME when it is an absolute
// path, ~/.config otherwise.
#pragma once

#include <string>

namespace tav::posix {

std::string configuration_home();

}  // namespace tav::posix
