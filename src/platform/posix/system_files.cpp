// File operations on POSIX systems.
#include "platform/system_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <optional>
#include <vector>

#include "platform/posix/errno_codes.h"
#include "platform/system_faults.h"

namespace tav::sys {

const bool kNamesMayHoldWildcards = true;

const std::string_view kTemporaryHiding = ".";

unsigned process_id() { return static_cast<unsigned>(::getpid()); }

Code last_code(std::string_view path) { return code_of_errno(errno, path); }

Code create_folder(std::string_view path) {
  if (fails_by_plan(Call::MakeFolder)) return last_code(path);
  const std::string p(path);
  return ::mkdir(p.c_str(), 0777) == 0 ? 0 : last_code(path);
}

Code remove_folder(std::string_view path) {
  if (fails_by_plan(Call::Remove)) return last_code(path);
  const std::string p(path);
  if (::rmdir(p.c_str()) == 0) return 0;
  return errno == ENOTDIR ? kDirectoryNameInvalid : last_code(path);
}

bool is_device_name(std::string_view) { return false; }

Code delete_file(std::string_view path) {
  if (fails_by_plan(Call::Remove)) return last_code(path);
  const std::string p(path);
  if (::unlink(p.c_str()) == 0) return 0;
  return errno == EISDIR ? kFileNotFound : last_code(path);
}

Handle open_to_read(std::string_view path) {
  if (fails_by_plan(Call::Open)) return kNoHandle;
  return ::open(std::string(path).c_str(), O_RDONLY | O_CLOEXEC);
}

Handle open_source(std::string_view path) { return open_to_read(path); }

bool read_facts(Handle file, FileFacts& facts) {
  struct stat info {};
  if (::fstat(file, &info) != 0) return false;
  facts.folder = S_ISDIR(info.st_mode);
  facts.attributes = info.st_mode;
  facts.accessed = {info.st_atim.tv_sec, info.st_atim.tv_nsec};
  facts.written = {info.st_mtim.tv_sec, info.st_mtim.tv_nsec};
  return true;
}

Handle create_new_file(std::string_view path) {
  if (fails_by_plan(Call::Open)) return kNoHandle;
  return ::open(std::string(path).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}

std::ptrdiff_t read_some(Handle file, char* buffer, std::size_t size) {
  if (fails_by_plan(Call::Read)) return -1;
  for (;;) {
    const ssize_t got = ::read(file, buffer, size);
    if (got >= 0 || errno != EINTR) return got;
  }
}

std::ptrdiff_t write_some(Handle file, const char* data, std::size_t size) {
  if (fails_by_plan(Call::Write)) return -1;
  const ssize_t written = ::write(file, data, size);
  return written < 0 && errno == EINTR ? 0 : written;
}

// FAT and exFAT hold no POSIX mode: their drivers refuse a mode they cannot
// show (EPERM), or any change of mode (ENOSYS through some FUSE drivers). The
// copy is whole without it.
namespace {
bool mode_cannot_be_kept(int error) {
  return error == EPERM || error == ENOSYS || error == EOPNOTSUPP;
}

// Last access, then last write, as futimens and utimensat take them.
std::array<timespec, 2> times_of(const FileFacts& source) {
  return {timespec{source.accessed.seconds, source.accessed.nanoseconds},
          timespec{source.written.seconds, source.written.nanoseconds}};
}

// A file system through FUSE (a stick's FAT or exFAT driver in user space).
constexpr decltype(statfs::f_type) kFuseMagic = 0x65735546;

bool on_fuse(int fd) {
  struct statfs volume {};
  return ::fstatfs(fd, &volume) == 0 && volume.f_type == kFuseMagic;
}

// A copy is given its source's mode where it shows another; its mode as
// shown is at hand after its times were set. A driver in user space that
// takes a change of the permissions and shows the file as before keeps no
// mode at all: its device is not asked again this run. (A kernel's FAT
// keeps the read-only bit, and a change of the set-group bit alone may be
// dropped by any file system.)
bool keep_mode(int copy, mode_t mode, CopyDevices& devices) {
  struct stat before {};
  if (::fstat(copy, &before) != 0) return false;
  if ((before.st_mode & 07777) == mode ||
      std::ranges::find(devices.showing_one_mode, before.st_dev) !=
          devices.showing_one_mode.end()) {
    return true;
  }
  if (::fchmod(copy, mode) != 0) return mode_cannot_be_kept(errno);
  struct stat after {};
  if ((mode & 0777) != (before.st_mode & 0777) && ::fstat(copy, &after) == 0 &&
      after.st_mode == before.st_mode && on_fuse(copy)) {
    devices.showing_one_mode.push_back(before.st_dev);
  }
  return true;
}
}  // namespace

bool keep_times(Handle copy, const FileFacts& source, CopyDevices& devices) {
  if (fails_by_plan(Call::SetTimes)) return false;
  const auto times = times_of(source);
  if (::futimens(copy, times.data()) != 0) return false;
  return keep_mode(copy, source.attributes & 07777, devices);
}

bool keep_attributes(std::string_view, const FileFacts&) { return true; }  // the mode is kept

// The mode is not set again: a rename leaves it as it was.
bool set_times(std::string_view path, const FileFacts& source) {
  if (fails_by_plan(Call::SetTimes)) return false;
  const auto times = times_of(source);
  return ::utimensat(AT_FDCWD, std::string(path).c_str(), times.data(), AT_SYMLINK_NOFOLLOW) == 0;
}

std::int64_t seconds_since_1970(const SystemTime& time) { return time.seconds; }

bool hide(std::string_view) { return true; }

namespace {

// A file system through FUSE takes a flush of the whole file system as
// writing its pages to the driver, which keeps them in its device's cache;
// a flush of one file or folder on it makes the driver flush the device.
bool flush_whole(int fd) {
  if (::syncfs(fd) != 0) return false;
  struct statfs volume {};
  return ::fstatfs(fd, &volume) != 0 || volume.f_type != kFuseMagic || ::fsync(fd) == 0;
}

}  // namespace

// One file is flushed alone; several at once by one flush of each file
// system they are on, which commits the journal once instead of per file.
bool flush_files(std::span<const Handle> files) {
  if (fails_by_plan(Call::Flush)) return false;
  if (files.size() == 1) return ::fsync(static_cast<int>(files[0])) == 0;
  std::vector<dev_t> flushed;
  for (const Handle file : files) {
    struct stat info {};
    if (::fstat(static_cast<int>(file), &info) != 0) return false;
    if (std::find(flushed.begin(), flushed.end(), info.st_dev) != flushed.end()) continue;
    if (!flush_whole(static_cast<int>(file))) return false;
    flushed.push_back(info.st_dev);
  }
  return true;
}

void start_writing(Handle file) {
  ::sync_file_range(static_cast<int>(file), 0, 0, SYNC_FILE_RANGE_WRITE);
}

void release_file(Handle file) { ::close(static_cast<int>(file)); }

// A planned failure still closes the file, as a refused close does.
bool close_file(Handle file) {
  const bool planned = fails_by_plan(Call::Close);
  const int saved = errno;
  const bool closed = ::close(static_cast<int>(file)) == 0;
  if (planned) errno = saved;
  return closed && !planned;
}

namespace {
// Windows refuses to replace a read-only file or a folder: here, a folder or
// a file this user may not write.
bool refuses_replacing(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return false;
  if (S_ISDIR(info.st_mode)) {
    errno = EISDIR;
    return true;
  }
  if (::access(path.c_str(), W_OK) == 0) return false;
  errno = EACCES;
  return true;
}
}  // namespace

bool rename_over(std::string_view from, std::string_view to) {
  if (fails_by_plan(Call::Rename)) return false;
  const std::string target(to);
  if (refuses_replacing(target)) return false;
  return ::rename(std::string(from).c_str(), target.c_str()) == 0;
}

// The old file goes aside first, then the new one takes the name; a new one
// that cannot brings the old one back.
bool replace_keeping(std::string_view from, std::string_view to, std::string_view keep_as) {
  if (fails_by_plan(Call::Rename)) return false;
  const std::string target(to);
  if (refuses_replacing(target) || !rename_into_kept(to, keep_as)) return false;
  if (rename_new(from, to)) return true;
  const int saved = errno;
  rename_new(keep_as, to);
  errno = saved;
  return false;
}

namespace {

// The file systems that refused a rename that may not replace: through
// FUSE each refusal costs a round trip to the driver, a look at the target's
// folder a cached one.
std::vector<dev_t> refusing_no_replace;

// The folder asked about last and its device: a run renames into the same
// folder many times in a row, and through FUSE each look is a round trip.
// A device that was wrong could only cost a look or a refusal more: a
// rename that may not replace still never replaces.
struct FolderDevice {
  std::string folder;
  dev_t device;
};
std::optional<FolderDevice> last_folder;

std::optional<dev_t> device_of_folder(const std::string& path) {
  const std::string folder = path.substr(0, path.rfind('/') + 1);
  if (folder.empty()) return std::nullopt;
  if (last_folder && last_folder->folder == folder) return last_folder->device;
  struct stat info {};
  if (::stat(folder.c_str(), &info) != 0) return std::nullopt;
  last_folder = FolderDevice{folder, info.st_dev};
  return info.st_dev;
}

bool refuses_no_replace(const std::string& target) {
  if (refusing_no_replace.empty()) return false;
  const auto device = device_of_folder(target);
  return device && std::ranges::find(refusing_no_replace, *device) != refusing_no_replace.end();
}

// A rename that may not replace, where the file system can refuse in the
// rename itself; otherwise whether it may look at the target first.
bool rename_refusing(std::string_view from, std::string_view to, bool look_first) {
  if (fails_by_plan(Call::Rename)) return false;
  const std::string source(from), target(to);
  if (!refuses_no_replace(target)) {
    if (::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
      return true;
    }
    if (errno != EINVAL && errno != ENOSYS) return false;
    const int refused = errno;
    if (const auto device = device_of_folder(target)) refusing_no_replace.push_back(*device);
    errno = refused;
  }
  struct stat info {};
  if (look_first && ::lstat(target.c_str(), &info) == 0) {
    errno = EEXIST;
    return false;
  }
  return ::rename(source.c_str(), target.c_str()) == 0;
}

}  // namespace

bool rename_new(std::string_view from, std::string_view to) {
  return rename_refusing(from, to, true);
}

bool rename_into_kept(std::string_view from, std::string_view to) {
  return rename_refusing(from, to, false);
}

// One flush of each file system the folders are on writes their entries
// with everything else it holds.
bool flush_folders(std::span<const std::string> folders) {
  if (fails_by_plan(Call::Flush)) return false;
  std::vector<dev_t> flushed;
  for (const std::string& folder : folders) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) return false;
    if (std::find(flushed.begin(), flushed.end(), info.st_dev) != flushed.end()) continue;
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = flush_whole(fd);
    const int saved = errno;
    ::close(fd);
    errno = saved;
    if (!synced) return false;
    flushed.push_back(info.st_dev);
  }
  return true;
}

void set_last_code(Code code) { errno = errno_of_code(code); }

}  // namespace tav::sys
