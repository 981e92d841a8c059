#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "support/temp_tree.h"

namespace tav::test {

void set_local_write_time(const std::string& path, LocalTime when) {
  std::tm local{};
  local.tm_year = when.year - 1900;
  local.tm_mon = when.month - 1;
  local.tm_mday = when.day;
  local.tm_hour = when.hour;
  local.tm_min = when.minute;
  local.tm_sec = when.second;
  local.tm_isdst = -1;
  const timespec times[2] = {{std::mktime(&local), 0}, {std::mktime(&local), 0}};
  ::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW);
}

void set_read_only(const std::string& path, bool read_only) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0) return;
  const mode_t mode = read_only ? (info.st_mode & ~0222) : (info.st_mode | S_IWUSR);
  ::chmod(path.c_str(), mode & 07777);
}

bool is_read_only(const std::string& path) {
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0 && (info.st_mode & 0222) == 0;
}

// A leading dot is what hides a name here.
bool is_hidden(const std::string& path) {
  return path.substr(path.find_last_of('/') + 1).starts_with('.');
}

bool make_folder_link(const std::string& target, const std::string& link) {
  return ::symlink(target.c_str(), link.c_str()) == 0;
}

}  // namespace tav::test

namespace tav::test {
std::optional<std::string> small_file_system_root() {
  const char* root = std::getenv("TAVRELON_SMALL_FS");
  if (!root || !*root) return std::nullopt;
  return std::string(root) + "/";
}

HeldSmallFileSystem::HeldSmallFileSystem() : root_(small_file_system_root()) {
  if (!root_) return;
  // A lock on the file system's root folder, released when the test ends.
  const int fd = ::open(root_->c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::flock(fd, LOCK_EX);
  hold_ = std::shared_ptr<void>(nullptr, [fd](void*) { ::close(fd); });
}

std::optional<std::string> test_volume_root(std::string_view kind) {
  const char* root = std::getenv(kind == "fat32" ? "TAVRELON_FAT32_FS" : "TAVRELON_EXFAT_FS");
  if (!root || !*root) return std::nullopt;
  return std::string(root) + "/";
}
}  // namespace tav::test

namespace tav::test {
bool lock_folder(const std::string& path, bool locked) {
  return ::chmod(path.c_str(), locked ? 0 : 0755) == 0;
}
}  // namespace tav::test
