// Where the program keeps its settings file. The Windows program keeps it in
// the current folder, where its users' files already are; the Linux program
// keeps it in a folder of its own in the user's configuration folder
// ($XDG_CONFIG_HOME/tavrelon, by default ~/.config/tavrelon), wherever it is
// started from.
#pragma once

#include <source_location>
#include <string>
#include <string_view>

namespace tav {

enum class SettingsAccess { kRead, kWrite };

// The path of the settings file named file_name. For writing, the folders
// that are to hold it are made first where they are missing (a refusal
// raises a run-time error); reading makes nothing.
std::string settings_file_path(std::string_view file_name, SettingsAccess access,
                               std::source_location where = std::source_location::current());

}  // namespace tav
