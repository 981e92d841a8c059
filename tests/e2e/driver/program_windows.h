// The windows of the running Tavrelon.exe as the driver reaches them from
// its own process: the form, its controls by name, and the program's dialog
// boxes (message boxes and the folder browser, class "#32770").
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "window/form.h"

namespace tav::driver {

// Seconds a command waits for the window it needs.
inline constexpr double kDefaultWait = 10.0;

// Polls until found() returns a window or the time is up; null then.
template <typename Find>
HWND wait_for_window(Find found, double seconds) {
  const ULONGLONG end = ::GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000);
  for (;;) {
    if (const HWND window = found()) return window;
    if (::GetTickCount64() >= end) return nullptr;
    ::Sleep(50);
  }
}

HWND form_window(double seconds = kDefaultWait);
// The control's window on the form, found at its place at the DPI the
// form is drawn at.
HWND control_window(HWND form, const ControlDesc& desc);
// "MAINFORM" gives the form; otherwise a control's name (any case).
HWND named_window(std::string_view name, double seconds = kDefaultWait);
// The program's topmost dialog box, or null after the wait.
HWND dialog_window(double seconds = kDefaultWait);
// The name of the form's control that holds the keyboard focus, "MAINFORM"
// for the form, empty for none.
std::string focused_name();

std::string window_text(HWND window);

}  // namespace tav::driver
