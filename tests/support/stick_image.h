// A small exFAT stick of the test's own: an image made empty and mounted
// through FUSE over a folder (as root on Linux), as full as the test makes
// it, and taken away at the end.
#pragma once

#include <cstdint>
#include <string>

namespace tav::test {

class StickImage {
 public:
  StickImage(std::string folder, std::uint64_t size);
  ~StickImage();
  StickImage(const StickImage&) = delete;
  StickImage& operator=(const StickImage&) = delete;

  // Empty when the stick is mounted over the folder; else why it is not.
  const std::string& why_not() const { return why_not_; }

  // Fills the stick with a file at its root until free bytes are left.
  void leave_free(std::uint64_t bytes);
  std::uint64_t free_bytes() const;

 private:
  std::string folder_;
  std::string image_;
  std::string device_;
  std::string why_not_;
};

}  // namespace tav::test
