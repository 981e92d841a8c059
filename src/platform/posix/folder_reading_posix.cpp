// Folders read with one listing each: the entry type that readdir reports
// tells folders apart without a status call; each other entry gets one.
#include "platform/folder_reading.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace tav {

const bool kLookupsIgnoreCase = false;

namespace {

// Closes the listing however the reading ends.
class Listing {
 public:
  explicit Listing(const std::string& folder) : dir_(::opendir(folder.c_str())) {}
  ~Listing() {
    if (dir_) ::closedir(dir_);
  }
  Listing(const Listing&) = delete;
  Listing& operator=(const Listing&) = delete;
  DIR* get() const { return dir_; }

 private:
  DIR* dir_;
};

bool is_dot_or_dot_dot(const char* name) {
  return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// An entry whose type the listing reported as a folder needs no status.
bool describe_from_status(int folder_fd, const char* name, ListedEntry& entry) {
  struct stat info {};
  if (::fstatat(folder_fd, name, &info, AT_SYMLINK_NOFOLLOW) != 0) return false;
  entry.link = S_ISLNK(info.st_mode);
  // A link is described by what it leads to; a broken one by itself.
  if (entry.link && ::fstatat(folder_fd, name, &info, 0) != 0) {
    ::fstatat(folder_fd, name, &info, AT_SYMLINK_NOFOLLOW);
  }
  entry.folder = S_ISDIR(info.st_mode);
  entry.size = entry.folder ? 0 : static_cast<std::uint64_t>(info.st_size);
  entry.written = {static_cast<std::int64_t>(info.st_mtim.tv_sec),
                   static_cast<std::uint32_t>(info.st_mtim.tv_nsec)};
  entry.identity = static_cast<std::uint64_t>(info.st_ino);
  return true;
}

}  // namespace

bool read_folder(const std::string& folder, std::vector<ListedEntry>& entries) {
  entries.clear();
  const Listing listing(folder);
  if (!listing.get()) return false;
  const int folder_fd = ::dirfd(listing.get());
  while (const dirent* item = ::readdir(listing.get())) {
    if (is_dot_or_dot_dot(item->d_name)) continue;
    ListedEntry entry;
    entry.name = item->d_name;
    if (item->d_type == DT_DIR) {
      entry.folder = true;
      entry.identity = static_cast<std::uint64_t>(item->d_ino);
    } else if (!describe_from_status(folder_fd, item->d_name, entry)) {
      continue;  // removed since it was listed
    }
    entries.push_back(std::move(entry));
  }
  return true;
}

std::optional<ListedEntry> entry_at(const std::string& path) {
  ListedEntry entry;
  if (!describe_from_status(AT_FDCWD, path.c_str(), entry)) return std::nullopt;
  return entry;
}

std::uint64_t identity_at(const std::string& path) {
  const auto entry = entry_at(path);
  return entry ? entry->identity : 0;
}

bool lookup_finds(const std::string& folder, std::string_view name) {
  const std::string path = folder + "/" + std::string(name);
  struct stat info {};
  return ::lstat(path.c_str(), &info) == 0;
}

}  // namespace tav
