// A drive letter standing for a test folder, so that the program's drive
// side (a letter, ":" and the separator) reaches a tree of the test's own.
#pragma once

#include <string>

#include "platform/window.h"

namespace tav::test {

class TestDrive {
 public:
  // On systems without drive letters the "drive" is the folder itself, listed
  // as a volume mounted there.
  explicit TestDrive(const std::string& folder);
  ~TestDrive();
  TestDrive(const TestDrive&) = delete;
  TestDrive& operator=(const TestDrive&) = delete;

  // As the drive list holds it.
  const Drive& drive() const { return drive_; }
  const std::string& entry() const { return drive_.entry; }
  const std::string& root() const { return drive_.root; }

 private:
  Drive drive_;
};

}  // namespace tav::test
