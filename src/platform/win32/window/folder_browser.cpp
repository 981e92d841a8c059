#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "platform/win32/window/com_apartment.h"
#include "platform/win32/window/folder_browser.h"
#include "platform/win32/wide.h"

namespace tav::win32 {

std::string browse_for_folder() {
  ensure_com();
  BROWSEINFOW description{};
  PIDLIST_ABSOLUTE item = ::SHBrowseForFolderW(&description);
  if (!item) return {};
  wchar_t path[MAX_PATH] = {};
  const bool has_path = ::SHGetPathFromIDListW(item, path) != FALSE;
  ::CoTaskMemFree(item);
  return has_path ? narrow(path) : std::string();
}

}  // namespace tav::win32
