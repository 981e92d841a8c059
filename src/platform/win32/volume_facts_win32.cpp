// Volume facts on Windows: the volume's serial number and file system name,
// the root folder's file index (two folder-backed drives under Wine share
// one serial, but not their folders' indexes), and the free space.
#include "platform/volume_facts.h"

#include <windows.h>

#include "platform/win32/wide.h"

namespace tav {

const bool kWindowsNamesEverywhere = true;

namespace {

// The folder without its trailing separator, except at a drive's root.
std::wstring folder_path(std::string_view folder) {
  std::wstring path = win32::widen(folder);
  while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  if (path.size() == 2 && path[1] == L':') path += L'\\';
  return path;
}

bool read_folder_index(const std::wstring& path, BY_HANDLE_FILE_INFORMATION& info) {
  const HANDLE folder =
      ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (folder == INVALID_HANDLE_VALUE) return false;
  const bool read = ::GetFileInformationByHandle(folder, &info) != 0;
  ::CloseHandle(folder);
  return read && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

std::optional<VolumeFacts> volume_facts(std::string_view folder) {
  const std::wstring path = folder_path(folder);
  BY_HANDLE_FILE_INFORMATION info{};
  if (!read_folder_index(path, info)) return std::nullopt;
  VolumeFacts facts;
  facts.identity.volume = info.dwVolumeSerialNumber;
  facts.identity.folder = (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow;

  wchar_t root[MAX_PATH + 1] = {};
  if (!::GetVolumePathNameW(path.c_str(), root, MAX_PATH)) return facts;
  wchar_t file_system[MAX_PATH + 1] = {};
  DWORD serial = 0;
  if (::GetVolumeInformationW(root, nullptr, 0, &serial, nullptr, nullptr, file_system,
                              MAX_PATH + 1)) {
    facts.identity.volume = serial;
    facts.file_system = win32::narrow(file_system);
  }
  // A volume that states no size says nothing of its free space either.
  ULARGE_INTEGER available{}, total{};
  if (::GetDiskFreeSpaceExW(path.c_str(), &available, &total, nullptr) && total.QuadPart > 0) {
    facts.free_bytes = available.QuadPart;
  }
  DWORD sectors_per_cluster = 0, bytes_per_sector = 0, free_clusters = 0, clusters = 0;
  if (::GetDiskFreeSpaceW(root, &sectors_per_cluster, &bytes_per_sector, &free_clusters,
                          &clusters)) {
    facts.allocation_unit = std::uint64_t{sectors_per_cluster} * bytes_per_sector;
  }
  return facts;
}

}  // namespace tav
