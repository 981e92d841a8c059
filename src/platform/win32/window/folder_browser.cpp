#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "platform/win32/window/folder_browser.h"
#include "platform/win32/wide.h"

namespace tav::win32 {

namespace {

// The browser needs COM on this thread; it stays initialised for the rest
// of the process.
void ensure_com() {
  static const HRESULT initialised = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  (void)initialised;
}

}  // namespace

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
