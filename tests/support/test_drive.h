// A drive letter standing for a test folder, so that the program's drive
// side (a letter, ":" and the separator) reaches a tree of the test's own.
#pragma once

#include <string>

namespace tav::test {

class TestDrive {
 public:
  // On systems without drive letters the "drive" is a link named "T:" in the
  // current folder, which the test must have made its own.
  explicit TestDrive(const std::string& folder);
  ~TestDrive();
  TestDrive(const TestDrive&) = delete;
  TestDrive& operator=(const TestDrive&) = delete;

  char letter() const { return letter_; }
  // The drive list's text for it, as COMBO1 would hold it.
  std::string entry() const { return std::string(1, letter_) + ": 固定ディスク"; }

 private:
  char letter_ = 0;
};

}  // namespace tav::test
