// Folders read with one listing each: the folder is opened once and read
// many entries to a call, each with its time, size and file index, so no
// entry needs a look-up of its own. Where a file system refuses that
// listing, the system's search lists the folder instead, without indexes.
#include "platform/folder_reading.h"

#include <windows.h>

#include <memory>

#include "platform/win32/file_time.h"
#include "platform/win32/wide.h"

namespace tav {

const bool kLookupsIgnoreCase = true;

namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// What one call of the listing fills: many entries, each 8-byte aligned.
constexpr DWORD kListingBytes = 64 * 1024;

bool is_dot_or_dot_dot(std::wstring_view name) { return name == L"." || name == L".."; }

// The link decision of a found entry, from the attributes and the reparse
// tag (which a listing with file indexes gives in EaSize).
bool is_link(DWORD attributes, DWORD reparse_tag) {
  WIN32_FIND_DATAW found;
  found.dwFileAttributes = attributes;
  found.dwReserved0 = reparse_tag;
  return win32::is_link(found);
}

ListedEntry entry_of(const WIN32_FIND_DATAW& data) {
  ListedEntry entry;
  entry.name = win32::narrow(data.cFileName);
  entry.folder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  entry.link = win32::is_link(data);
  entry.size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
  entry.written = win32::write_time_of(data.ftLastWriteTime);
  return entry;
}

ListedEntry entry_of(const FILE_ID_BOTH_DIR_INFO& info, std::wstring_view name) {
  ListedEntry entry;
  entry.name = win32::narrow(name);
  entry.folder = (info.FileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  entry.link = is_link(info.FileAttributes, info.EaSize);
  entry.size = static_cast<std::uint64_t>(info.EndOfFile.QuadPart);
  entry.written = win32::write_time_of(
      win32::file_time_of_ticks(static_cast<std::uint64_t>(info.LastWriteTime.QuadPart)));
  entry.identity = static_cast<std::uint64_t>(info.FileId.QuadPart);
  return entry;
}

// The folder as CreateFileW opens it: a drive given as "X:" means its root.
std::wstring folder_to_open(const std::string& folder) {
  std::wstring path = win32::widen(folder);
  if (path.size() == 2 && path[1] == L':') path += L'\\';
  return path;
}

// Appends the entries of one filled listing buffer.
void add_listed(const std::byte* at, std::vector<ListedEntry>& entries) {
  for (;;) {
    const auto& info = *reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(at);
    const std::wstring_view name(info.FileName, info.FileNameLength / sizeof(wchar_t));
    if (!is_dot_or_dot_dot(name)) entries.push_back(entry_of(info, name));
    if (info.NextEntryOffset == 0) return;
    at += info.NextEntryOffset;
  }
}

enum class Listing { Read, Refused };

// The listing with file indexes through an open handle of the folder.
// Refused when the folder cannot be opened so or its file system gives no
// such listing; a listing that breaks off later keeps what it read.
Listing read_with_indexes(const std::string& folder, std::vector<ListedEntry>& entries) {
  const HANDLE handle = ::CreateFileW(folder_to_open(folder).c_str(), FILE_LIST_DIRECTORY,
                                     kShareAll, nullptr, OPEN_EXISTING,
                                     FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return Listing::Refused;
  const auto buffer = std::make_unique_for_overwrite<std::uint64_t[]>(kListingBytes / 8);
  Listing listing = Listing::Read;
  for (bool first = true;; first = false) {
    if (!::GetFileInformationByHandleEx(handle, FileIdBothDirectoryInfo, buffer.get(),
                                        kListingBytes)) {
      if (first && ::GetLastError() != ERROR_NO_MORE_FILES) listing = Listing::Refused;
      break;
    }
    add_listed(reinterpret_cast<const std::byte*>(buffer.get()), entries);
  }
  ::CloseHandle(handle);
  return listing;
}

bool read_with_search(const std::string& folder, std::vector<ListedEntry>& entries) {
  const std::wstring pattern = win32::widen(folder) + L"\\*";
  WIN32_FIND_DATAW data{};
  const HANDLE search = ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data,
                                           FindExSearchNameMatch, nullptr,
                                           FIND_FIRST_EX_LARGE_FETCH);
  if (search == INVALID_HANDLE_VALUE) return false;
  do {
    if (!is_dot_or_dot_dot(data.cFileName)) entries.push_back(entry_of(data));
  } while (::FindNextFileW(search, &data));
  ::FindClose(search);
  return true;
}

// The file index of the entry itself (of a link, not of what it leads to,
// as a listing gives it); 0 when it cannot be opened for it.
std::uint64_t identity_of(const std::wstring& path) {
  const HANDLE handle =
      ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return 0;
  BY_HANDLE_FILE_INFORMATION info{};
  const bool read = ::GetFileInformationByHandle(handle, &info) != 0;
  ::CloseHandle(handle);
  return read ? (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow : 0;
}

}  // namespace

bool read_folder(const std::string& folder, std::vector<ListedEntry>& entries) {
  entries.clear();
  if (read_with_indexes(folder, entries) == Listing::Read) return true;
  entries.clear();
  return read_with_search(folder, entries);
}

std::optional<ListedEntry> entry_at(const std::string& path) {
  WIN32_FIND_DATAW data{};
  const HANDLE search = ::FindFirstFileExW(win32::widen(path).c_str(), FindExInfoBasic, &data,
                                           FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) return std::nullopt;
  ::FindClose(search);
  ListedEntry entry = entry_of(data);
  entry.name.clear();
  return entry;
}

std::uint64_t identity_at(const std::string& path) { return identity_of(win32::widen(path)); }

bool lookup_finds(const std::string& folder, std::string_view name) {
  const std::wstring path = win32::widen(folder + "\\" + std::string(name));
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace tav
