#include "platform/posix/errno_codes.h"

#include <sys/stat.h>

#include <array>
#include <cerrno>
#include <string>
#include <utility>

namespace tav::sys {

namespace {

constexpr std::array<std::pair<int, Code>, 20> kErrnoCodes{{
    {EPERM, 5},          // access denied
    {EACCES, 5},         // access denied
    {EISDIR, 5},         // a folder where a file was expected: access denied
    {ENOTDIR, 3},        // a component of the path is not a folder
    {EEXIST, 183},       // already exists
    {ENOTEMPTY, 145},    // folder not empty
    {ENOSPC, 112},       // disk full
    {EDQUOT, 112},       // disk full for this user
    {EFBIG, 112},        // file size limit reached: as a full disk
    {EROFS, 19},         // write-protected medium
    {ENAMETOOLONG, 206}, // file name too long
    {EBUSY, 32},         // in use
    {ETXTBSY, 32},       // in use
    {EMFILE, 4},         // too many open files
    {ENFILE, 4},         // too many open files
    {ENOMEM, 8},         // not enough memory
    {EXDEV, 17},         // not the same device
    {EINVAL, 87},        // invalid parameter
    {EIO, 1117},         // I/O device error
    {ELOOP, 1921},       // cannot resolve the link
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
  if (error == ENOENT) return parent_exists(path) ? 2 : 3;
  for (const auto& [value, code] : kErrnoCodes) {
    if (value == error) return code;
  }
  return 31;  // a device attached to the system is not functioning
}

}  // namespace tav::sys
