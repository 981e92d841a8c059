// Makes a test's own folder the home of the program's settings file for the
// life of the object, so that no test reads or writes the user's: on Linux
// XDG_CONFIG_HOME names the folder; the Windows program keeps the file in
// the current folder, which the caller makes that folder.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tav::test {

class SettingsHome {
 public:
  explicit SettingsHome(const std::string& folder);
  ~SettingsHome();
  SettingsHome(const SettingsHome&) = delete;
  SettingsHome& operator=(const SettingsHome&) = delete;

  // The settings file's path within the folder, with "/" between names.
  static std::string_view settings_file();

 private:
  std::optional<std::string> previous_;
};

}  // namespace tav::test
