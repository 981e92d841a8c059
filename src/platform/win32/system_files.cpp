// File operations through the wide-character Windows API.
#include "platform/system_files.h"

#include <windows.h>

#include <atomic>
#include <vector>

#include "platform/win32/file_time.h"
#include "platform/win32/wide.h"

namespace tav::sys {

const bool kNamesMayHoldWildcards = false;

namespace {

Code last_code() { return ::GetLastError(); }

void describe(const WIN32_FIND_DATAW& data, FolderEntry& entry) {
  entry.name = win32::narrow(data.cFileName);
  entry.is_link = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;

  EntryFacts facts;
  facts.folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  facts.read_only = (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
  facts.archive = (data.dwFileAttributes & FILE_ATTRIBUTE_ARCHIVE) != 0;
  facts.size = (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  facts.written = win32::local_stamp_of(data.ftLastWriteTime);
  fill_entry_texts(entry, facts);
}

class FindSearch final : public Search {
 public:
  explicit FindSearch(std::string_view pattern) : pattern_(win32::widen(pattern)) {}
  ~FindSearch() override {
    if (handle_ != INVALID_HANDLE_VALUE) ::FindClose(handle_);
  }
  bool next(FolderEntry& entry) override {
    WIN32_FIND_DATAW data{};
    if (!started_) {
      started_ = true;
      handle_ = ::FindFirstFileW(pattern_.c_str(), &data);
      if (handle_ == INVALID_HANDLE_VALUE) return false;
    } else if (handle_ == INVALID_HANDLE_VALUE || !::FindNextFileW(handle_, &data)) {
      return false;
    }
    describe(data, entry);
    return true;
  }

 private:
  std::wstring pattern_;
  HANDLE handle_ = INVALID_HANDLE_VALUE;
  bool started_ = false;
};

class Handle {
 public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  ~Handle() { close(); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }
  bool close() {
    const bool closed = !valid() || ::CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

// An existing folder or read-only file at the destination: refused, as the
// system refuses to copy over one.
bool refuses_overwrite(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0;
}

// A temporary file beside the destination, removed unless it was put in place.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::wstring& destination)
      : path_(make_name(destination)),
        file_(::CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~TemporaryFile() {
    file_.close();
    if (!placed_) ::DeleteFileW(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool valid() const { return file_.valid(); }
  HANDLE get() const { return file_.get(); }

  Code place_as(const std::wstring& destination) {
    if (!file_.close()) return last_code();
    if (!::MoveFileExW(path_.c_str(), destination.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      return last_code();
    }
    placed_ = true;
    return 0;
  }

 private:
  static std::wstring make_name(const std::wstring& destination) {
    static std::atomic<unsigned> counter{0};
    const auto cut = destination.find_last_of(L"\\/");
    const std::wstring folder =
        cut == std::wstring::npos ? std::wstring() : destination.substr(0, cut + 1);
    return folder + L"~tavrelon-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
           std::to_wstring(counter++) + L".tmp";
  }

  std::wstring path_;
  Handle file_;
  bool placed_ = false;
};

Code write_all(HANDLE file, const char* data, std::size_t size) {
  while (size > 0) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1 << 30));
    if (!::WriteFile(file, data, chunk, &written, nullptr)) return last_code();
    data += written;
    size -= written;
  }
  return 0;
}

constexpr DWORD kCopyChunk = 1 << 20;
constexpr DWORD kCopiedAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

bool is_reserved_device(std::wstring name) {
  static const wchar_t* const kDevices[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CLOCK$"};
  if (!name.empty() && name.back() == L':') name.pop_back();
  const auto dot = name.find(L'.');
  if (dot != std::wstring::npos) name.resize(dot);
  for (wchar_t& c : name) c = static_cast<wchar_t>(::towupper(c));
  for (const wchar_t* device : kDevices) {
    if (name == device) return true;
  }
  return name.size() == 4 && (name.starts_with(L"COM") || name.starts_with(L"LPT")) &&
         name[3] >= L'1' && name[3] <= L'9';
}

}  // namespace

std::unique_ptr<Search> start_search(std::string_view pattern) {
  return std::make_unique<FindSearch>(pattern);
}

Code create_folder(std::string_view path) {
  return ::CreateDirectoryW(win32::widen(path).c_str(), nullptr) ? 0 : last_code();
}

Code remove_folder(std::string_view path) {
  return ::RemoveDirectoryW(win32::widen(path).c_str()) ? 0 : last_code();
}

bool is_device_name(std::string_view path) {
  const std::wstring wide = win32::widen(path);
  const auto cut = wide.find_last_of(L"\\/");
  return is_reserved_device(cut == std::wstring::npos ? wide : wide.substr(cut + 1));
}

bool is_deletable_file(std::string_view path) {
  const std::wstring wide = win32::widen(path);
  std::wstring full(MAX_PATH + 1, L'\0');
  const DWORD length = ::GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()),
                                          full.data(), nullptr);
  if (length == 0 || length > full.size()) return false;
  full.resize(length);
  // Opening for no access finds files only: a folder needs backup semantics.
  Handle file(::CreateFileW(full.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr));
  return file.valid();
}

Code delete_file(std::string_view path) {
  return ::DeleteFileW(win32::widen(path).c_str()) ? 0 : last_code();
}

Code copy_file(std::string_view source, std::string_view destination,
               const CopyProgress& progress) {
  const std::wstring from = win32::widen(source), to = win32::widen(destination);
  Handle in(::CreateFileW(from.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!in.valid()) return last_code();
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(in.get(), &info)) return last_code();
  if (refuses_overwrite(to)) return kAccessDenied;

  TemporaryFile out(to);
  if (!out.valid()) return last_code();
  std::vector<char> buffer(kCopyChunk);
  std::uint64_t copied = 0;
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(in.get(), buffer.data(), kCopyChunk, &got, nullptr)) return last_code();
    if (got == 0) break;
    if (const Code code = write_all(out.get(), buffer.data(), got)) return code;
    copied += got;
    if (progress) progress(copied);
  }
  if (!::SetFileTime(out.get(), &info.ftCreationTime, &info.ftLastAccessTime,
                     &info.ftLastWriteTime)) {
    return last_code();
  }
  if (const Code code = out.place_as(to)) return code;
  const DWORD attributes = info.dwFileAttributes & kCopiedAttributes;
  if (!::SetFileAttributesW(to.c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL)) {
    return last_code();
  }
  return 0;
}

Code read_file(std::string_view path, std::string& content) {
  Handle in(::CreateFileW(win32::widen(path).c_str(), GENERIC_READ,
                          FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!in.valid()) return last_code();
  content.clear();
  char buffer[4096];
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(in.get(), buffer, sizeof buffer, &got, nullptr)) return last_code();
    if (got == 0) return 0;
    content.append(buffer, got);
  }
}

Code replace_file(std::string_view path, std::string_view content) {
  const std::wstring to = win32::widen(path);
  if (refuses_overwrite(to)) return kAccessDenied;
  TemporaryFile out(to);
  if (!out.valid()) return last_code();
  if (const Code code = write_all(out.get(), content.data(), content.size())) return code;
  if (!::FlushFileBuffers(out.get())) return last_code();
  return out.place_as(to);
}

}  // namespace tav::sys

namespace tav {

// Windows writes removable media through (quick removal) and flushes the
// rest when the user ejects the drive: nothing to hurry here.
void flush_file_system(std::string_view) noexcept {}

}  // namespace tav
