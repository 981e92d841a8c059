#include "platform/win32/window/dpi.h"

namespace tav::win32 {

namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);

GetDpiForWindowFunction get_dpi_for_window() {
  static const auto function = reinterpret_cast<GetDpiForWindowFunction>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  return function;
}

}  // namespace

int system_dpi() {
  const HDC screen = ::GetDC(nullptr);
  const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : 0;
  if (screen) ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

int window_dpi(HWND window) {
  if (const auto function = get_dpi_for_window(); function && window) {
    if (const UINT dpi = function(window); dpi > 0) return static_cast<int>(dpi);
  }
  return system_dpi();
}

}  // namespace tav::win32
