#include "platform/win32/module_path.h"

#include <windows.h>

#include "platform/win32/wide.h"

namespace tav::win32 {

std::string module_path() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length < path.size()) {
      path.resize(length);
      return narrow(path);
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace tav::win32
