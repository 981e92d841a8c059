// Another file system mounted over a test's folder, as when a drive is
// replaced by another one at the same mount point. Only where the test may
// mount (as root on Linux).
#pragma once

#include <string>

namespace tav::test {

class OtherVolume {
 public:
  // Whether this test run may mount one.
  static bool possible();

  // Mounts a small empty file system over the folder.
  explicit OtherVolume(std::string folder);
  ~OtherVolume();
  OtherVolume(const OtherVolume&) = delete;
  OtherVolume& operator=(const OtherVolume&) = delete;

  bool mounted() const { return mounted_; }

 private:
  std::string folder_;
  bool mounted_ = false;
};

}  // namespace tav::test
