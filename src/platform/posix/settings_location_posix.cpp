// The Linux program's settings file lives in its own folder in the user's
// configuration folder.
#include "files/operations.h"
#include "platform/posix/configuration_home.h"
#include "platform/settings_location.h"

namespace tav {

namespace {

constexpr std::string_view kSettingsFolder = "tavrelon";

// Makes the folder and each missing folder above it.
void make_folders(const std::string& path, std::source_location where) {
  if (path.empty() || folder_exists(path, where)) return;
  const std::size_t parent_end = path.find_last_of('/');
  if (parent_end != std::string::npos && parent_end > 0) {
    make_folders(path.substr(0, parent_end), where);
  }
  make_folder(path, where);
}

}  // namespace

std::string settings_file_path(std::string_view file_name, SettingsAccess access,
                               std::source_location where) {
  const std::string folder = posix::configuration_home() + "/" + std::string(kSettingsFolder);
  if (access == SettingsAccess::kWrite) make_folders(folder, where);
  return folder + "/" + std::string(file_name);
}

}  // namespace tav
