// The Linux program's settings file lives in its own folder in the user's
// configuration folder.
#include "errors/detail_words.h"
#include "errors/runtime_error.h"
#include "platform/folder_reading.h"
#include "platform/posix/configuration_home.h"
#include "platform/settings_location.h"
#include "platform/system_files.h"

namespace tav {

namespace {

constexpr std::string_view kSettingsFolder = "tavrelon";

// Makes the folder and each missing folder above it.
void make_folders(const std::string& path, std::source_location where) {
  if (path.empty()) return;
  if (const auto there = entry_at(path); there && there->folder) return;
  const std::size_t parent_end = path.find_last_of('/');
  if (parent_end != std::string::npos && parent_end > 0) {
    make_folders(path.substr(0, parent_end), where);
  }
  if (sys::create_folder(path) != 0) {
    raise_system_error(sys::last_code(path), detail::kMakeFolderRefused, where);
  }
}

}  // namespace

std::string settings_file_path(std::string_view file_name, SettingsAccess access,
                               std::source_location where) {
  const std::string folder = posix::configuration_home() + "/" + std::string(kSettingsFolder);
  if (access == SettingsAccess::kWrite) make_folders(folder, where);
  return folder + "/" + std::string(file_name);
}

}  // namespace tav
