// File operations through the wide-character Windows API.
#include "platform/system_files.h"

#include <windows.h>

#include <algorithm>

#include "platform/system_faults.h"
#include "platform/win32/file_time.h"
#include "platform/win32/wide.h"

namespace tav::sys {

const bool kNamesMayHoldWildcards = false;

namespace {

Code last_code() { return ::GetLastError(); }

constexpr DWORD kCopiedAttributes =
    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;

HANDLE native(Handle file) { return reinterpret_cast<HANDLE>(file); }

Handle open(std::string_view path, DWORD access, DWORD sharing, DWORD how, DWORD flags) {
  return reinterpret_cast<Handle>(
      ::CreateFileW(win32::widen(path).c_str(), access, sharing, nullptr, how, flags, nullptr));
}

SystemTime system_time(const FILETIME& time) {
  const auto ticks = static_cast<std::int64_t>(win32::ticks_of(time));
  constexpr auto kPerSecond = static_cast<std::int64_t>(win32::kTicksPerSecond);
  return {ticks / kPerSecond, ticks % kPerSecond * 100};
}

FILETIME file_time(const SystemTime& time) {
  return win32::file_time_of_ticks(static_cast<std::uint64_t>(
      time.seconds * static_cast<std::int64_t>(win32::kTicksPerSecond) + time.nanoseconds / 100));
}

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

// Refusals that say a folder cannot be flushed by this user or on this file
// system, not that its medium failed.
bool may_not_flush(DWORD error) {
  return error == ERROR_ACCESS_DENIED || error == ERROR_INVALID_FUNCTION ||
         error == ERROR_NOT_SUPPORTED || error == ERROR_INVALID_PARAMETER;
}

}  // namespace

Code create_folder(std::string_view path) {
  if (fails_by_plan(Call::MakeFolder)) return last_code();
  return ::CreateDirectoryW(win32::widen(path).c_str(), nullptr) ? 0 : last_code();
}

Code remove_folder(std::string_view path) {
  if (fails_by_plan(Call::Remove)) return last_code();
  return ::RemoveDirectoryW(win32::widen(path).c_str()) ? 0 : last_code();
}

bool is_device_name(std::string_view path) {
  const std::wstring wide = win32::widen(path);
  const auto cut = wide.find_last_of(L"\\/");
  return is_reserved_device(cut == std::wstring::npos ? wide : wide.substr(cut + 1));
}

Code delete_file(std::string_view path) {
  if (fails_by_plan(Call::Remove)) return last_code();
  const std::wstring wide = win32::widen(path);
  if (::DeleteFileW(wide.c_str())) return 0;
  const Code code = last_code();
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  const bool folder =
      attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  return code == ERROR_ACCESS_DENIED && folder ? kFileNotFound : code;
}

const std::string_view kTemporaryHiding = "";

unsigned process_id() { return ::GetCurrentProcessId(); }

Code last_code(std::string_view) { return last_code(); }

Handle open_to_read(std::string_view path) {
  if (fails_by_plan(Call::Open)) return kNoHandle;
  return open(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING, 0);
}

Handle open_source(std::string_view path) {
  if (fails_by_plan(Call::Open)) return kNoHandle;
  return open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN);
}

bool read_facts(Handle file, FileFacts& facts) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!::GetFileInformationByHandle(native(file), &info)) return false;
  facts.folder = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  facts.attributes = info.dwFileAttributes;
  facts.created = system_time(info.ftCreationTime);
  facts.accessed = system_time(info.ftLastAccessTime);
  facts.written = system_time(info.ftLastWriteTime);
  return true;
}

Handle create_new_file(std::string_view path) {
  if (fails_by_plan(Call::Open)) return kNoHandle;
  return open(path, GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL);
}

std::ptrdiff_t read_some(Handle file, char* buffer, std::size_t size) {
  if (fails_by_plan(Call::Read)) return -1;
  DWORD got = 0;
  if (!::ReadFile(native(file), buffer, static_cast<DWORD>(size), &got, nullptr)) return -1;
  return got;
}

std::ptrdiff_t write_some(Handle file, const char* data, std::size_t size) {
  if (fails_by_plan(Call::Write)) return -1;
  DWORD written = 0;
  const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1 << 30));
  if (!::WriteFile(native(file), data, chunk, &written, nullptr)) return -1;
  return written;
}

namespace {
bool set_file_times(HANDLE file, const FileFacts& source) {
  const FILETIME created = file_time(source.created), accessed = file_time(source.accessed),
                 written = file_time(source.written);
  return ::SetFileTime(file, &created, &accessed, &written);
}
}  // namespace

bool keep_times(Handle copy, const FileFacts& source, CopyDevices&) {
  if (fails_by_plan(Call::SetTimes)) return false;
  return set_file_times(native(copy), source);
}

// Through a handle that asks only to change the file's times, shared with
// whoever opened the file since it took its name.
bool set_times(std::string_view path, const FileFacts& source) {
  if (fails_by_plan(Call::SetTimes)) return false;
  const HANDLE file = ::CreateFileW(win32::widen(path).c_str(), FILE_WRITE_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool set = set_file_times(file, source);
  const DWORD error = ::GetLastError();
  ::CloseHandle(file);
  ::SetLastError(error);
  return set;
}

std::int64_t seconds_since_1970(const SystemTime& time) {
  return time.seconds - win32::kSecondsFrom1601To1970;
}

bool keep_attributes(std::string_view copy, const FileFacts& source) {
  if (fails_by_plan(Call::SetTimes)) return false;
  const DWORD attributes = source.attributes & kCopiedAttributes;
  return ::SetFileAttributesW(win32::widen(copy).c_str(),
                              attributes ? attributes : FILE_ATTRIBUTE_NORMAL);
}

bool hide(std::string_view path) {
  const std::wstring wide = win32::widen(path);
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  return (attributes & FILE_ATTRIBUTE_HIDDEN) != 0 ||
         ::SetFileAttributesW(wide.c_str(), attributes | FILE_ATTRIBUTE_HIDDEN);
}

bool flush_files(std::span<const Handle> files) {
  if (fails_by_plan(Call::Flush)) return false;
  for (const Handle file : files) {
    if (!::FlushFileBuffers(native(file))) return false;
  }
  return true;
}

void start_writing(Handle) {}  // the batch's flush writes each file

void release_file(Handle file) { ::CloseHandle(native(file)); }

// A planned failure still closes the file, as a refused close does.
bool close_file(Handle file) {
  const bool planned = fails_by_plan(Call::Close);
  const DWORD planned_code = ::GetLastError();
  const bool closed = ::CloseHandle(native(file));
  if (planned) ::SetLastError(planned_code);
  return closed && !planned;
}

namespace {

// The system refuses to replace a folder or a read-only file (some file
// systems it runs on do not say so by themselves).
bool refuses_replacing(const std::wstring& target) {
  const DWORD attributes = ::GetFileAttributesW(target.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES ||
      (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) == 0) {
    return false;
  }
  ::SetLastError(ERROR_ACCESS_DENIED);
  return true;
}

}  // namespace

bool rename_over(std::string_view from, std::string_view to) {
  if (fails_by_plan(Call::Rename)) return false;
  const std::wstring target = win32::widen(to);
  if (refuses_replacing(target)) return false;
  return ::MoveFileExW(win32::widen(from).c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}

bool replace_keeping(std::string_view from, std::string_view to, std::string_view keep_as) {
  if (fails_by_plan(Call::Rename)) return false;
  const std::wstring target = win32::widen(to);
  if (refuses_replacing(target)) return false;
  return ::ReplaceFileW(target.c_str(), win32::widen(from).c_str(), win32::widen(keep_as).c_str(),
                        REPLACEFILE_WRITE_THROUGH, nullptr, nullptr);
}

bool rename_new(std::string_view from, std::string_view to) {
  if (fails_by_plan(Call::Rename)) return false;
  return ::MoveFileExW(win32::widen(from).c_str(), win32::widen(to).c_str(),
                       MOVEFILE_WRITE_THROUGH);
}

bool rename_into_kept(std::string_view from, std::string_view to) { return rename_new(from, to); }

// A volume is flushed whole only by an administrator: each folder's own
// entries are, through a handle to the folder. A folder this user may not
// open for writing, or whose file system cannot flush a folder, is left to
// the system (removable drives are written through by default).
bool flush_folders(std::span<const std::string> folders) {
  if (fails_by_plan(Call::Flush)) return false;
  for (const std::string& folder : folders) {
    const HANDLE handle = ::CreateFileW(
        win32::widen(folder).c_str(), GENERIC_WRITE,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
        FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
      if (may_not_flush(::GetLastError())) continue;
      return false;
    }
    const bool flushed = ::FlushFileBuffers(handle);
    const DWORD error = ::GetLastError();
    ::CloseHandle(handle);
    if (!flushed && !may_not_flush(error)) {
      ::SetLastError(error);
      return false;
    }
  }
  return true;
}

void set_last_code(Code code) { ::SetLastError(code); }

}  // namespace tav::sys
