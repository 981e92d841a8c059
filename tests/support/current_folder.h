// Makes a fresh temporary folder the current folder for the life of the
// object, where the program reads and writes its settings file.
#pragma once

#include <filesystem>

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

  TempTree tree;

 private:
  std::filesystem::path previous_;
};

}  // namespace tav::test
