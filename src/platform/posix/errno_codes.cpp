#include "platform/posix/errno_codes.h"

#include <sys/stat.h>

#include <array>
#include <cerrno>
#include <string>
#include <utility>

namespace tav::sys {

namespace {

constexpr std::array<std::pair<int, Code>, 20> kErrnoCodes{{
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
}};

bool parent_exists(std::string_view path) {
  std::string parent(path);
  while (parent.size() > 1 && parent.back() == '/') parent.pop_back();
  const auto slash = parent.rfind('/');
  if (slash == std::string::npos) return true;  // relative to the current folder
  parent.resize(slash == 0 ? 1 : slash);
  struct stat info {};
  return ::stat(parent.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

Code code_of_errno(int error, std::string_view path) {
  if (error == ENOENT) return parent_exists(path) ? kFileNotFound : kPathNotFound;
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
  return EIO;
}

}  // namespace tav::sys
