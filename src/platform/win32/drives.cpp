#include <windows.h>

#include "platform/drive_entry.h"
#include "platform/win32/shell_services.h"

namespace tav::win32 {

std::vector<Drive> list_drives() {
  const DWORD present = ::GetLogicalDrives();
  std::vector<Drive> drives;
  for (int i = 0; i < 26; ++i) {
    if ((present & (DWORD{1} << i)) == 0) continue;
    const char letter = static_cast<char>('A' + i);
    const wchar_t root[] = {static_cast<wchar_t>(L'A' + i), L':', L'\\', L'\0'};
    drives.push_back(make_drive(letter, static_cast<int>(::GetDriveTypeW(root))));
  }
  return drives;
}

}  // namespace tav::win32
