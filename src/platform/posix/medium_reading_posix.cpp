// Reading past the cache on POSIX systems: with O_DIRECT where the file
// system takes it, which reads from the device whatever the cache holds;
// elsewhere the file's cached pages are written out and dropped first, so
// that the reads that follow come from the medium.
#include "platform/medium_reading.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/system_faults.h"

namespace tav::sys {

namespace {

// Clean pages only are dropped: any page still waiting is written first.
void drop_cached_pages(int fd) {
  ::sync_file_range(fd, 0, 0,
                    SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE |
                        SYNC_FILE_RANGE_WAIT_AFTER);
  ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
}

bool reads_direct(int fd) {
  const int flags = ::fcntl(fd, F_GETFL);
  return flags >= 0 && (flags & O_DIRECT) != 0;
}

// A file system that opened the file for direct reads but refuses one (an
// unaligned end, a driver without them): the file is read through the
// cache from here on, its cached pages dropped.
bool read_through_cache(int fd) {
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_DIRECT) != 0) return false;
  drop_cached_pages(fd);
  return true;
}

}  // namespace

// Never waits at the open: a pipe put where a copy stood reads as no bytes.
Handle open_from_medium(std::string_view path) {
  if (fails_by_plan(Call::Open)) return kNoHandle;
  const std::string p(path);
  const int fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_DIRECT);
  if (fd >= 0 || errno != EINVAL) return fd;
  const int cached = ::open(p.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (cached >= 0) drop_cached_pages(cached);
  return cached;
}

std::ptrdiff_t read_from_medium(Handle file, char* buffer, std::size_t size) {
  if (fails_by_plan(Call::Read)) return -1;
  const int fd = static_cast<int>(file);
  for (;;) {
    const ssize_t got = ::read(fd, buffer, size);
    if (got >= 0) return got;
    if (errno == EINTR) continue;
    if (errno != EINVAL || !reads_direct(fd) || !read_through_cache(fd)) return -1;
  }
}

}  // namespace tav::sys
