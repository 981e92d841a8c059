// A drive letter standing for a test folder, so that the program's drive
// side (a letter, ":" and the separator) reaches a tree of the test's own.
#pragma once

#include <memory>
#include <string>

#include "platform/drives.h"
#include "support/temp_tree.h"

namespace tav::test {

// A drive standing for a tree of the test's own. On systems without drive
// letters it is a temporary folder listed as a volume mounted there; under
// Windows it is one of the drive letters the test runner maps to scratch
// folders, taken for the test's life.
class TestDrive {
 public:
  TestDrive();
  ~TestDrive();
  TestDrive(const TestDrive&) = delete;
  TestDrive& operator=(const TestDrive&) = delete;

  // As the drive list holds it.
  const Drive& drive() const { return drive_; }
  const std::string& entry() const { return drive_.entry; }
  const std::string& root() const { return drive_.root; }
  // The drive's content.
  TempTree& tree() { return *tree_; }

 private:
  // What keeps the drive this test's own, where it can be shared.
  std::shared_ptr<void> hold_;
  Drive drive_;
  std::unique_ptr<TempTree> tree_;
};

}  // namespace tav::test
