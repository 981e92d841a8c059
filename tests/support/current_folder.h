// Makes a fresh temporary folder the current folder for the life of the
// object, and the home of the program's settings file.
#pragma once

#include <filesystem>
#include <string>

#include "support/settings_home.h"
#include "support/temp_tree.h"

namespace tav::test {

class InTemporaryFolder {
 public:
  InTemporaryFolder() : previous_(std::filesystem::current_path()) {
    std::filesystem::current_path(native(tree.root()));
  }
  ~InTemporaryFolder() { std::filesystem::current_path(previous_); }
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
