// A volume that lies as a failing or counterfeit stick does: it answers
// every write as done, but gives back other bytes when the file is read from
// the medium (an ordinary read of a file just written may still get the
// right bytes from the system's cache). Mounted over a folder of a test's
// tree through FUSE, as root on Linux; Wine has none.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "support/temp_tree.h"

namespace tav::test {

// How the volume lies.
struct Lie {
  std::string mode;  // as the file system's program takes it
  std::string value;
  // Whether it refuses to open a file for reads past the cache (O_DIRECT),
  // as some file systems do: such reads then drop the file's cached pages.
  bool refuses_direct_reads = false;
};

// Keeps the first bytes of data written to it, all files together; the
// bytes written past them read back as zeros, the files keeping their size.
inline Lie keeps_only(std::uint64_t bytes, bool refuses_direct_reads = false) {
  return {"budget", std::to_string(bytes), refuses_direct_reads};
}

// Gives back the middle byte of the file at rel (with "/") flipped.
inline Lie flips_a_byte_of(std::string_view rel) { return {"flip", std::string(rel)}; }

class LyingVolume {
 public:
  // Mounted at tree.path("lying"), its medium a folder beside it.
  LyingVolume(TempTree& tree, const Lie& lie);
  ~LyingVolume();
  LyingVolume(const LyingVolume&) = delete;
  LyingVolume& operator=(const LyingVolume&) = delete;

  // Empty when the volume is mounted; else why it is not.
  const std::string& why_not() const { return why_not_; }
  // The volume's root, without a trailing separator.
  const std::string& root() const { return root_; }
  std::string path(std::string_view rel) const;

 private:
  std::string root_;
  std::string why_not_;
  std::intptr_t driver_ = -1;  // the file system's process
};

}  // namespace tav::test
