#include "platform/win32/drives_win32.h"

#include <windows.h>

#include "platform/drive_entry.h"
#include "platform/text.h"

namespace tav {

namespace win32 {

Drive drive_of_letter(char letter, int type) {
  return {std::string(1, letter) + ": " + std::string(drive_type_text(type)),
          std::string(1, letter) + ":\\"};
}

}  // namespace win32

std::vector<Drive> list_drives() {
  const DWORD present = ::GetLogicalDrives();
  std::vector<Drive> drives;
  for (int i = 0; i < 26; ++i) {
    if ((present & (DWORD{1} << i)) == 0) continue;
    const wchar_t root[] = {static_cast<wchar_t>(L'A' + i), L':', L'\\', L'\0'};
    drives.push_back(win32::drive_of_letter(static_cast<char>('A' + i),
                                            static_cast<int>(::GetDriveTypeW(root))));
  }
  return drives;
}

// Drives are addressed by letter: the first character of the text, the
// letter of every item of the drive list, followed by ":\". An empty text,
// or one that starts with a space, gives ":\" alone, which names no folder.
std::string resolve_drive_root(std::string_view entry, const std::vector<Drive>&) {
  std::string root;
  if (!entry.empty() && entry.front() != ' ') {
    std::size_t end = 0;
    next_char(entry, end);
    root = entry.substr(0, end);
  }
  return root + ":" + kPathSeparator;
}

}  // namespace tav
