// Folders read with one listing each: the find data carries the times and
// sizes, so no entry needs a look-up of its own.
#include "platform/folder_reading.h"

#include <windows.h>

#include "platform/win32/file_time.h"
#include "platform/win32/wide.h"

namespace tav {

const bool kLookupsIgnoreCase = true;

namespace {

bool is_dot_or_dot_dot(const wchar_t* name) {
  return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
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

}  // namespace

bool read_folder(const std::string& folder, std::vector<ListedEntry>& entries) {
  entries.clear();
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

bool lookup_finds(const std::string& folder, std::string_view name) {
  const std::wstring path = win32::widen(folder + "\\" + std::string(name));
  return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace tav
