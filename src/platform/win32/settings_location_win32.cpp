// The Windows program's settings file lives in the current folder.
#include "platform/settings_location.h"

namespace tav {

std::string settings_file_path(std::string_view file_name, SettingsAccess, std::source_location) {
  return std::string(file_name);
}

}  // namespace tav
