// Paths beneath a root through openat2, which refuses links, mount points
// and every way out of the root for the whole path inside the kernel. Where
// the kernel has no openat2 (before 5.6, or a filter forbids it), one folder
// at a time through openat without following a link, each folder checked to
// be on the root's device.
#include "platform/beneath.h"

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <utility>
#include <vector>

namespace tav::sys {

namespace {

class Fd {
 public:
  Fd() = default;
  explicit Fd(long fd) : fd_(static_cast<int>(fd)) {}
  Fd(Fd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  Fd& operator=(Fd&& other) noexcept {
    std::swap(fd_, other.fd_);
    return *this;
  }
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

// The names of rel, or false when one is empty, "." or "..", or holds a NUL
// (which would end it early).
bool split_names(std::string_view rel, std::vector<std::string>& names) {
  for (std::size_t start = 0; !rel.empty();) {
    const std::size_t end = std::min(rel.find('/', start), rel.size());
    const std::string_view name = rel.substr(start, end - start);
    if (name.empty() || name == "." || name == ".." ||
        name.find('\0') != std::string_view::npos) {
      return false;
    }
    names.emplace_back(name);
    if (end == rel.size()) break;
    start = end + 1;
  }
  return true;
}

// Set once openat2 has answered that this kernel does not offer it.
std::atomic<bool> without_openat2{false};

// What stands at a path beneath the root, opened, with its facts; or the
// errno of the refusal.
struct Found {
  Fd fd;
  struct stat facts {};
  dev_t root_device = 0;
  int error = 0;

  // Only a regular file or a real folder on the root's device is reached.
  Reached reached() const {
    if (!fd.valid()) return error == ENOENT ? Reached::Missing : Reached::Refused;
    if (facts.st_dev != root_device) return Reached::Refused;
    if (S_ISREG(facts.st_mode)) return Reached::File;
    return S_ISDIR(facts.st_mode) ? Reached::Folder : Reached::Refused;
  }
};

// Opens rel beneath the root: in one openat2 call, or each folder on the way
// and then the last name.
Fd open_names(int root, dev_t device, std::string_view rel, const std::vector<std::string>& names,
              int flags, int& error) {
  if (!without_openat2.load(std::memory_order_relaxed)) {
    open_how how{};
    how.flags = static_cast<std::uint64_t>(flags);
    how.resolve = RESOLVE_BENEATH | RESOLVE_NO_SYMLINKS | RESOLVE_NO_XDEV;
    const std::string path(rel);
    Fd opened(::syscall(SYS_openat2, root, path.c_str(), &how, sizeof how));
    error = errno;
    if (opened.valid() || (error != ENOSYS && error != EPERM)) return opened;
    without_openat2.store(true, std::memory_order_relaxed);
  }
  Fd folder;
  int at = root;
  for (std::size_t i = 0; i + 1 < names.size(); ++i) {
    Fd next(::openat(at, names[i].c_str(),
                     O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat facts {};
    if (!next.valid() || ::fstat(next.get(), &facts) != 0) {
      error = errno;
      return Fd();
    }
    if (facts.st_dev != device) {
      error = EXDEV;
      return Fd();
    }
    folder = std::move(next);
    at = folder.get();
  }
  Fd opened(::openat(at, names.back().c_str(), flags));
  error = errno;
  return opened;
}

// flags are those of the last name's open (O_NOFOLLOW with them).
Found find(std::string_view root, std::string_view rel, int flags) {
  Found found;
  std::vector<std::string> names;
  if (!split_names(rel, names)) {
    found.error = EINVAL;
    return found;
  }
  Fd top(::open(std::string(root).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!top.valid() || ::fstat(top.get(), &found.facts) != 0) {
    found.error = errno;
    return found;
  }
  found.root_device = found.facts.st_dev;
  if (names.empty()) {
    found.fd = std::move(top);
    return found;
  }
  Fd last = open_names(top.get(), found.root_device, rel, names, flags | O_NOFOLLOW | O_CLOEXEC,
                       found.error);
  if (last.valid() && ::fstat(last.get(), &found.facts) != 0) {
    found.error = errno;
    return found;
  }
  found.fd = std::move(last);
  return found;
}

// The refusals by which the kernel says that a path leaves the root, takes
// a link or meets something that is no folder on the way.
bool refuses_path(int error) {
  return error == ELOOP || error == EXDEV || error == ENOTDIR || error == EINVAL ||
         error == EAGAIN;
}

ReadBeneath read_refusal(int error) {
  if (error == ENOENT) return ReadBeneath::Missing;
  return refuses_path(error) ? ReadBeneath::Refused : ReadBeneath::Failed;
}

}  // namespace

Reached reach_beneath(std::string_view root, std::string_view rel) {
  return find(root, rel, O_PATH).reached();
}

ReadBeneath read_beneath(std::string_view root, std::string_view rel, std::size_t max_bytes,
                         std::string& content) {
  // A look without opening first, so that not even a device node on the
  // root's own volume is opened; then the open without waiting, which must
  // find the same regular file.
  const Found looked = find(root, rel, O_PATH);
  if (!looked.fd.valid()) return read_refusal(looked.error);
  if (looked.reached() != Reached::File) return ReadBeneath::Refused;
  const Found file = find(root, rel, O_RDONLY | O_NONBLOCK);
  if (!file.fd.valid()) return read_refusal(file.error);
  if (file.reached() != Reached::File || file.facts.st_ino != looked.facts.st_ino ||
      file.facts.st_dev != looked.facts.st_dev) {
    return ReadBeneath::Refused;
  }
  if (static_cast<std::uintmax_t>(file.facts.st_size) > max_bytes) return ReadBeneath::TooLarge;

  std::string data;
  char buffer[1 << 16];
  for (;;) {
    const std::size_t room = max_bytes - data.size();
    const std::size_t want = room < sizeof buffer ? room + 1 : sizeof buffer;
    const ssize_t got = ::read(file.fd.get(), buffer, want);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return ReadBeneath::Failed;
    if (got == 0) break;
    data.append(buffer, static_cast<std::size_t>(got));
    if (data.size() > max_bytes) return ReadBeneath::TooLarge;
  }
  content = std::move(data);
  return ReadBeneath::Read;
}

}  // namespace tav::sys
