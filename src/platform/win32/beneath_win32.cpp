// Paths beneath a root through the wide-character Windows API: each name on
// the way is opened by itself without following a reparse point, checked to
// be a real folder of the root's volume, and held open (and so neither
// renamed nor deleted) until the last name is checked or read.
#include "platform/beneath.h"

#include <windows.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/system_files.h"
#include "platform/win32/wide.h"

namespace tav::sys {

namespace {

class Held {
 public:
  Held() = default;
  explicit Held(HANDLE handle) : handle_(handle) {}
  Held(Held&& other) noexcept : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
  Held& operator=(Held&& other) noexcept {
    std::swap(handle_, other.handle_);
    return *this;
  }
  ~Held() {
    if (valid()) ::CloseHandle(handle_);
  }
  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_ = INVALID_HANDLE_VALUE;
};

// A name the system takes as written: not empty, "." or "..", no separator,
// stream or wildcard, no trailing dot or blank (which the system drops), no
// device.
bool plain_name(std::string_view name) {
  if (name.empty() || name == "." || name == ".." || name.back() == '.' || name.back() == ' ') {
    return false;
  }
  for (const char c : name) {
    if (static_cast<unsigned char>(c) < 0x20 ||
        std::string_view("<>:\"/\\|?*").find(c) != std::string_view::npos) {
      return false;
    }
  }
  return !is_device_name(name);
}

bool split_names(std::string_view rel, std::vector<std::string_view>& names) {
  for (std::size_t start = 0; !rel.empty();) {
    const std::size_t end = std::min(rel.find('\\', start), rel.size());
    names.push_back(rel.substr(start, end - start));
    if (!plain_name(names.back())) return false;
    if (end == rel.size()) break;
    start = end + 1;
  }
  return true;
}

bool missing(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }

Held open_name(const std::wstring& path, DWORD access, DWORD sharing, DWORD flags) {
  return Held(::CreateFileW(path.c_str(), access, sharing, nullptr, OPEN_EXISTING,
                            FILE_FLAG_BACKUP_SEMANTICS | flags, nullptr));
}

// Folders on the way are opened to list them, which takes part in sharing:
// without FILE_SHARE_DELETE no one may rename them while they are held.
constexpr DWORD kFolderAccess = FILE_READ_ATTRIBUTES | FILE_LIST_DIRECTORY;
constexpr DWORD kShareAllButDelete = FILE_SHARE_READ | FILE_SHARE_WRITE;
constexpr DWORD kShareAll = kShareAllButDelete | FILE_SHARE_DELETE;

// An open name that is no reparse point, on the root's volume, and a file or
// folder of a disk (not a device or a pipe).
bool plain_entry(HANDLE handle, const BY_HANDLE_FILE_INFORMATION& facts, DWORD root_volume) {
  return (facts.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 &&
         facts.dwVolumeSerialNumber == root_volume && ::GetFileType(handle) == FILE_TYPE_DISK;
}

// What stands at a path beneath the root, the root and the folders on the
// way held open.
struct Walk {
  std::vector<Held> held;
  std::wstring path;                   // of the last name
  BY_HANDLE_FILE_INFORMATION facts{};  // of the last name
  DWORD root_volume = 0;
  Reached reached = Reached::Refused;
  DWORD error = 0;  // when the system refused to tell or open something

  void refused_by_system() {
    error = ::GetLastError();
    reached = missing(error) ? Reached::Missing : Reached::Refused;
  }
};

Walk walk(std::string_view root, std::string_view rel) {
  Walk walk;
  std::vector<std::string_view> names;
  if (!split_names(rel, names) || root.empty()) return walk;
  walk.path = win32::widen(root);
  if (walk.path.back() != L'\\') walk.path += L'\\';
  // The root itself may be reached through links.
  Held top = open_name(walk.path, FILE_READ_ATTRIBUTES, kShareAll, 0);
  if (!top.valid() || !::GetFileInformationByHandle(top.get(), &walk.facts)) {
    walk.refused_by_system();
    return walk;
  }
  walk.root_volume = walk.facts.dwVolumeSerialNumber;
  if ((walk.facts.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return walk;
  walk.held.push_back(std::move(top));
  for (std::size_t i = 0; i < names.size(); ++i) {
    const bool last = i + 1 == names.size();
    if (i > 0) walk.path += L'\\';
    walk.path += win32::widen(names[i]);
    // A link's own attributes by its path as well: Wine opens a link's
    // target even when asked for the link.
    const DWORD attributes = ::GetFileAttributesW(walk.path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
      walk.refused_by_system();
      return walk;
    }
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return walk;
    Held opened = open_name(walk.path, last ? FILE_READ_ATTRIBUTES : kFolderAccess,
                            last ? kShareAll : kShareAllButDelete, FILE_FLAG_OPEN_REPARSE_POINT);
    if (!opened.valid() || !::GetFileInformationByHandle(opened.get(), &walk.facts)) {
      walk.refused_by_system();
      return walk;
    }
    const bool folder = (walk.facts.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (!plain_entry(opened.get(), walk.facts, walk.root_volume) || (!last && !folder)) {
      return walk;
    }
    walk.held.push_back(std::move(opened));
  }
  const bool folder = (walk.facts.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  walk.reached = folder ? Reached::Folder : Reached::File;
  return walk;
}

}  // namespace

Reached reach_beneath(std::string_view root, std::string_view rel) {
  return walk(root, rel).reached;
}

ReadBeneath read_beneath(std::string_view root, std::string_view rel, std::size_t max_bytes,
                         std::string& content) {
  const Walk found = walk(root, rel);
  switch (found.reached) {
    case Reached::File:
      break;
    case Reached::Missing:
      return ReadBeneath::Missing;
    case Reached::Folder:
      return ReadBeneath::Refused;
    case Reached::Refused:
      return found.error != 0 ? ReadBeneath::Failed : ReadBeneath::Refused;
  }
  // Opened to read while the folders on the way are still held, shared with
  // writers as every read of a small file; it must be the file looked at.
  const Held file = open_name(found.path, GENERIC_READ, kShareAllButDelete,
                              FILE_FLAG_OPEN_REPARSE_POINT);
  BY_HANDLE_FILE_INFORMATION facts{};
  if (!file.valid() || !::GetFileInformationByHandle(file.get(), &facts)) {
    return missing(::GetLastError()) ? ReadBeneath::Missing : ReadBeneath::Failed;
  }
  if (!plain_entry(file.get(), facts, found.root_volume) ||
      (facts.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ||
      facts.nFileIndexHigh != found.facts.nFileIndexHigh ||
      facts.nFileIndexLow != found.facts.nFileIndexLow) {
    return ReadBeneath::Refused;
  }
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size)) return ReadBeneath::Failed;
  if (static_cast<unsigned long long>(size.QuadPart) > max_bytes) return ReadBeneath::TooLarge;

  std::string data;
  char buffer[1 << 16];
  for (;;) {
    const std::size_t room = max_bytes - data.size();
    const DWORD want = static_cast<DWORD>(room < sizeof buffer ? room + 1 : sizeof buffer);
    DWORD got = 0;
    if (!::ReadFile(file.get(), buffer, want, &got, nullptr)) return ReadBeneath::Failed;
    if (got == 0) break;
    data.append(buffer, got);
    if (data.size() > max_bytes) return ReadBeneath::TooLarge;
  }
  content = std::move(data);
  return ReadBeneath::Read;
}

}  // namespace tav::sys
