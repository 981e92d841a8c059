// Makes a fresh temporary folder the current folder for the life of the
// object, and the home of the program's settings file.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "support/settings_home.h"
#include "support/temp_tree.h"

namespace tav::test {

class InTemporaryFolder {
 public:
  InTemporaryFolder() : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(native(tree.root()));
  }
  // A way back that is closed fails the test rather than ending the program
  // (a destructor that throws does); the tests after it then run in the
  // temporary files' folder, so that this tree can still be removed.
  ~InTemporaryFolder() {
    std::error_code error;
    std::filesystem::current_path(previous_, error);
    if (!error) return;
    ADD_FAILURE() << "cannot return to the folder the test started in: " << error.message();
    const auto temporary = std::filesystem::temp_directory_path(error);
    if (!error) std::filesystem::current_path(temporary, error);
  }
  InTemporaryFolder(const InTemporaryFolder&) = delete;
  InTemporaryFolder& operator=(const InTemporaryFolder&) = delete;

  // The settings file's path within the tree.
  std::string settings_file() const { return std::string(SettingsHome::settings_file()); }

  TempTree tree;

 private:
  std::filesystem::path previous_;
  SettingsHome settings_home_{tree.root()};
};

}  // namespace tav::test
