#include <windows.h>

#include <cstdlib>

#include "platform/win32/wide.h"
#include "support/temp_tree.h"

namespace tav::test {

void set_local_write_time(const std::string& path, LocalTime when) {
  SYSTEMTIME local{};
  local.wYear = static_cast<WORD>(when.year);
  local.wMonth = static_cast<WORD>(when.month);
  local.wDay = static_cast<WORD>(when.day);
  local.wHour = static_cast<WORD>(when.hour);
  local.wMinute = static_cast<WORD>(when.minute);
  local.wSecond = static_cast<WORD>(when.second);
  FILETIME local_file_time{}, utc{};
  ::SystemTimeToFileTime(&local, &local_file_time);
  ::LocalFileTimeToFileTime(&local_file_time, &utc);
  const HANDLE file = ::CreateFileW(win32::widen(path).c_str(), FILE_WRITE_ATTRIBUTES,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  ::SetFileTime(file, nullptr, nullptr, &utc);
  ::CloseHandle(file);
}

void set_read_only(const std::string& path, bool read_only) {
  const std::wstring wide = win32::widen(path);
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return;
  ::SetFileAttributesW(wide.c_str(), read_only ? attributes | FILE_ATTRIBUTE_READONLY
                                               : attributes & ~FILE_ATTRIBUTE_READONLY);
}

bool is_read_only(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesW(win32::widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool is_hidden(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesW(win32::widen(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN) != 0;
}

// Some systems answer success and make nothing: the link must be there.
bool make_folder_link(const std::string& target, const std::string& link) {
  const std::wstring at = win32::widen(link);
  if (!::CreateSymbolicLinkW(at.c_str(), win32::widen(target).c_str(),
                             SYMBOLIC_LINK_FLAG_DIRECTORY)) {
    return false;
  }
  const DWORD made = ::GetFileAttributesW(at.c_str());
  return made != INVALID_FILE_ATTRIBUTES && (made & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

std::optional<std::string> small_file_system_root() {
  // The test runner maps drive R: to the small file system it names.
  const char* root = std::getenv("TAVRELON_SMALL_FS");
  if (!root || !*root) return std::nullopt;
  return std::string("R:\\");
}

HeldSmallFileSystem::HeldSmallFileSystem() : root_(small_file_system_root()) {
  if (!root_) return;
  // A named mutex of the prefix, released by the system if the test dies.
  const HANDLE mutex = ::CreateMutexW(nullptr, FALSE, L"TavrelonSmallFileSystem");
  if (!mutex) return;
  ::WaitForSingleObject(mutex, INFINITE);
  hold_ = std::shared_ptr<void>(mutex, [](HANDLE held) {
    ::ReleaseMutex(held);
    ::CloseHandle(held);
  });
}

// The test runner maps S: to a folder that Wine reports as FAT32, beside
// the image that stands for its device; no exFAT.
std::optional<std::string> test_volume_root(std::string_view kind) {
  wchar_t file_system[MAX_PATH + 1] = {};
  if (kind != "fat32" || ::GetFileAttributesW(L"S:\\fat32.img") == INVALID_FILE_ATTRIBUTES ||
      !::GetVolumeInformationW(L"S:\\", nullptr, 0, nullptr, nullptr, nullptr, file_system,
                               MAX_PATH + 1) ||
      std::wstring_view(file_system) != L"FAT32") {
    return std::nullopt;
  }
  return std::string("S:\\");
}

bool lock_folder(const std::string&, bool) { return false; }

}  // namespace tav::test
