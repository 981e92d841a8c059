#include "platform/posix/errno_codes.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <string>
#include <utility>

namespace tav::sys {

namespace {

constexpr std::array<std::pair<int, Code>, 25> kErrnoCodes{{
    {EPERM, kAccessDenied},
    {EACCES, kAccessDenied},
    {EISDIR, kAccessDenied},   // a folder where a file was expected
    {ENOTDIR, kPathNotFound},  // a component of the path is not a folder
    {EEXIST, kAlreadyExists},
    {ENOTEMPTY, kDirNotEmpty},
    {ENOSPC, kDiskFull},
    {EDQUOT, kDiskFull},       // full for this user
    {EFBIG, kDiskFull},        // file size limit reached
    {EROFS, kWriteProtect},
    {ENAMETOOLONG, kFileNameTooLong},
    {EBUSY, kSharingViolation},
    {ETXTBSY, kSharingViolation},
    {EMFILE, kTooManyOpenFiles},
    {ENFILE, kTooManyOpenFiles},
    {ENOMEM, kNotEnoughMemory},
    {EXDEV, kNotSameDevice},
    {EINVAL, kInvalidParameter},
    {EIO, kIoDevice},
    {ELOOP, kCantResolveFileName},
    // The drive went away: its device is gone, its medium taken out, or
    // the driver in user space that served it ended (FUSE answers what it
    // had in hand with ECONNABORTED, everything after with ENOTCONN).
    {ENODEV, kDevNotExist},
    {ENXIO, kDevNotExist},
    {ENOMEDIUM, kNoMediaInDrive},
    {ENOTCONN, kDeviceNotConnected},
    {ECONNABORTED, kDeviceNotConnected},
}};

// The codes of a drive gone that no errno above stands for.
constexpr std::array<Code, 5> kOtherDriveGoneCodes{kNotReady, kNoSuchDevice, kFileInvalid,
                                                   kMediaChanged, kDeviceRemoved};

bool drive_gone(int error) {
  return error == ENODEV || error == ENXIO || error == ENOMEDIUM || error == ENOTCONN ||
         error == ECONNABORTED;
}

// The folder that holds path; false for "/" and for a name alone, whose
// folder is the current one.
bool to_parent(std::string& path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  const auto slash = path.rfind('/');
  if (slash == std::string::npos || path == "/") return false;
  path.resize(slash == 0 ? 1 : slash);
  return true;
}

bool parent_exists(std::string_view path) {
  std::string parent(path);
  if (!to_parent(parent)) return true;  // relative to the current folder
  struct stat info {};
  return ::stat(parent.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// After EIO, whether the volume path is on has gone away rather than failed
// while still there. Asked of the path and then of its folders up to the
// first that answers (a question for the volume itself, which a FUSE mount
// whose driver ended answers with ENOTCONN even at its root), and then
// whether that volume's block device is still attached: a pulled stick's
// file system stays mounted for a while after its device left /sys.
bool volume_gone(std::string_view path) {
  std::string at(path);
  for (;;) {
    struct statfs volume {};
    if (::statfs(at.c_str(), &volume) == 0) break;
    if (drive_gone(errno)) return true;
    if (!to_parent(at)) return false;
  }
  struct stat info {};
  if (::stat(at.c_str(), &info) != 0) return drive_gone(errno);
  if (::major(info.st_dev) == 0 || ::access("/sys/dev/block", F_OK) != 0) return false;
  const std::string device = "/sys/dev/block/" + std::to_string(::major(info.st_dev)) + ":" +
                             std::to_string(::minor(info.st_dev));
  return ::access(device.c_str(), F_OK) != 0 && errno == ENOENT;
}

}  // namespace

Code code_of_errno(int error, std::string_view path) {
  if (error == ENOENT) return parent_exists(path) ? kFileNotFound : kPathNotFound;
  if (error == EIO && volume_gone(path)) return kDeviceNotConnected;
  for (const auto& [value, code] : kErrnoCodes) {
    if (value == error) return code;
  }
  return kGenFailure;  // a device attached to the system is not functioning
}

int errno_of_code(Code code) {
  if (code == kFileNotFound || code == kPathNotFound) return ENOENT;
  for (const auto& [value, known] : kErrnoCodes) {
    if (known == code) return value;
  }
  if (std::ranges::find(kOtherDriveGoneCodes, code) != kOtherDriveGoneCodes.end()) return ENODEV;
  return EIO;
}

}  // namespace tav::sys
