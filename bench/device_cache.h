// The device under a benchmark's folder and the system's cache of it: a
// stick's files written days before are not in the cache, so a benchmark
// drops them (and the device's own pages) before each way it measures.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace tav::bench {

inline void drop_from_cache(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
  ::close(fd);
}

// The device mounted at the deepest mount point holding path, if any.
inline std::optional<std::string> device_under(const std::string& path) {
  const std::string full = std::filesystem::absolute(path).string() + "/";
  std::ifstream mounts("/proc/self/mounts");
  std::string device, point, rest;
  std::optional<std::string> found;
  std::size_t deepest = 0;
  while (mounts >> device >> point && std::getline(mounts, rest)) {
    const std::string prefix = point == "/" ? point : point + "/";
    if (full.starts_with(prefix) && prefix.size() >= deepest) {
      deepest = prefix.size();
      found = device.starts_with("/dev/") ? std::optional(device) : std::nullopt;
    }
  }
  return found;
}

}  // namespace tav::bench
