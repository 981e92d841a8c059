// File operations on POSIX systems.
#include "platform/system_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <vector>

#include "platform/posix/errno_codes.h"

namespace tav::sys {

const bool kNamesMayHoldWildcards = true;

namespace {

std::string folder_of(std::string_view path) {
  const auto slash = path.rfind('/');
  if (slash == std::string_view::npos) return ".";
  return slash == 0 ? "/" : std::string(path.substr(0, slash));
}

std::string name_of(std::string_view path) {
  const auto slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

Code last_code(std::string_view path) { return code_of_errno(errno, path); }

// Fills the entry from the file's status; links are followed for the texts,
// so a link to a folder shows as a folder, but is marked as a link.
bool describe(int folder_fd, const char* name, FolderEntry& entry) {
  struct stat own {};
  if (::fstatat(folder_fd, name, &own, AT_SYMLINK_NOFOLLOW) != 0) return false;
  struct stat info = own;
  entry.is_link = S_ISLNK(own.st_mode);
  if (entry.is_link && ::fstatat(folder_fd, name, &info, 0) != 0) info = own;

  EntryFacts facts;
  facts.folder = S_ISDIR(info.st_mode);
  facts.read_only = (info.st_mode & 0222) == 0;
  facts.archive = false;  // these file systems keep no archive flag
  facts.size = static_cast<std::uint64_t>(info.st_size);
  facts.written = local_stamp(info.st_mtime);
  fill_entry_texts(entry, facts);
  return true;
}

class FolderSearch final : public Search {
 public:
  explicit FolderSearch(const std::string& folder) : dir_(::opendir(folder.c_str())) {}
  ~FolderSearch() override {
    if (dir_) ::closedir(dir_);
  }
  bool next(FolderEntry& entry) override {
    while (dir_) {
      const dirent* item = ::readdir(dir_);
      if (!item) return false;
      entry.name = item->d_name;
      if (describe(::dirfd(dir_), item->d_name, entry)) return true;
      // Removed since it was listed: go on with the next one.
    }
    return false;
  }

 private:
  DIR* dir_;
};

class SingleSearch final : public Search {
 public:
  explicit SingleSearch(std::string_view path) : path_(path) {}
  bool next(FolderEntry& entry) override {
    if (done_) return false;
    done_ = true;
    entry.name = name_of(path_);
    return describe(AT_FDCWD, path_.c_str(), entry);
  }

 private:
  std::string path_;
  bool done_ = false;
};

// A file that exists and that this user may not write: refused as Windows
// refuses to replace a read-only file.
bool refuses_overwrite(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return false;
  return S_ISDIR(info.st_mode) || ::access(path.c_str(), W_OK) != 0;
}

// A temporary file beside the destination, removed unless it was put in place.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::string_view destination) {
    static std::atomic<unsigned> counter{0};
    path_ = folder_of(destination) + "/.~tavrelon-" + std::to_string(::getpid()) + "-" +
            std::to_string(counter++) + ".tmp";
    fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  }
  ~TemporaryFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!placed_) ::unlink(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  int fd() const { return fd_; }

  // Closes the file and renames it over the destination; 0 or a code.
  Code place_as(const std::string& destination) {
    const int closed = ::close(fd_);
    fd_ = -1;
    if (closed != 0) return last_code(destination);
    if (::rename(path_.c_str(), destination.c_str()) != 0) return last_code(destination);
    placed_ = true;
    return 0;
  }

 private:
  std::string path_;
  int fd_ = -1;
  bool placed_ = false;
};

Code write_all(int fd, const char* data, std::size_t size, std::string_view path) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return last_code(path);
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return 0;
}

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

constexpr std::size_t kCopyChunk = 1 << 20;

}  // namespace

std::unique_ptr<Search> start_search(std::string_view pattern) {
  const std::string name = name_of(pattern);
  if (name == "*" || name == "*.*") return std::make_unique<FolderSearch>(folder_of(pattern));
  return std::make_unique<SingleSearch>(pattern);
}

Code create_folder(std::string_view path) {
  const std::string p(path);
  return ::mkdir(p.c_str(), 0777) == 0 ? 0 : last_code(path);
}

Code remove_folder(std::string_view path) {
  const std::string p(path);
  if (::rmdir(p.c_str()) == 0) return 0;
  return errno == ENOTDIR ? kDirectoryNameInvalid : last_code(path);
}

bool is_device_name(std::string_view) { return false; }

bool is_deletable_file(std::string_view path) {
  const std::string p(path);
  struct stat info {};
  return ::lstat(p.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

Code delete_file(std::string_view path) {
  const std::string p(path);
  return ::unlink(p.c_str()) == 0 ? 0 : last_code(path);
}

Code copy_file(std::string_view source, std::string_view destination,
               const CopyProgress& progress) {
  const std::string from(source), to(destination);
  FileDescriptor in(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
  if (in.get() < 0) return last_code(source);
  struct stat info {};
  if (::fstat(in.get(), &info) != 0) return last_code(source);
  if (S_ISDIR(info.st_mode)) return kAccessDenied;
  if (refuses_overwrite(to)) return kAccessDenied;

  TemporaryFile out(destination);
  if (out.fd() < 0) return last_code(destination);
  std::vector<char> buffer(kCopyChunk);
  std::uint64_t copied = 0;
  for (;;) {
    const ssize_t got = ::read(in.get(), buffer.data(), buffer.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      return last_code(source);
    }
    if (got == 0) break;
    if (const Code code = write_all(out.fd(), buffer.data(), static_cast<std::size_t>(got),
                                    destination)) {
      return code;
    }
    copied += static_cast<std::uint64_t>(got);
    if (progress) progress(copied);
  }
  const timespec times[2] = {info.st_atim, info.st_mtim};
  if (::futimens(out.fd(), times) != 0) return last_code(destination);
  if (::fchmod(out.fd(), info.st_mode & 07777) != 0) return last_code(destination);
  return out.place_as(to);
}

Code read_file(std::string_view path, std::string& content) {
  const std::string p(path);
  FileDescriptor in(::open(p.c_str(), O_RDONLY | O_CLOEXEC));
  if (in.get() < 0) return last_code(path);
  content.clear();
  char buffer[4096];
  for (;;) {
    const ssize_t got = ::read(in.get(), buffer, sizeof buffer);
    if (got < 0) {
      if (errno == EINTR) continue;
      return last_code(path);
    }
    if (got == 0) return 0;
    content.append(buffer, static_cast<std::size_t>(got));
  }
}

Code replace_file(std::string_view path, std::string_view content) {
  const std::string to(path);
  if (refuses_overwrite(to)) return kAccessDenied;
  TemporaryFile out(path);
  if (out.fd() < 0) return last_code(path);
  if (const Code code = write_all(out.fd(), content.data(), content.size(), path)) return code;
  if (::fsync(out.fd()) != 0) return last_code(path);
  return out.place_as(to);
}

}  // namespace tav::sys

namespace tav {

void flush_file_system(std::string_view path) noexcept {
  const std::string p(path);
  const int fd = ::open(p.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::syncfs(fd);
  ::close(fd);
}

}  // namespace tav
