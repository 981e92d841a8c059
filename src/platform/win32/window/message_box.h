// Message boxes: the application's, the run-time error report and the
// start-up failure box.
#pragma once

#include <windows.h>

#include <string_view>

#include "errors/error_report.h"
#include "window/window.h"

namespace tav::win32 {

// MessageBoxW style of the buttons and icon codes.
UINT message_box_style(Buttons buttons, Icon icon);

// The answer for what MessageBoxW returned.
Answer answer_of(int result);

// OK, exclamation icon and Help; Help does nothing.
inline constexpr UINT kErrorReportStyle = 0x4030;

// A box with the stop icon, titled with the program's name and ".EXE", then
// the end of the process. index selects the text (startup_failure_text).
[[noreturn]] void fail_startup(HWND owner, int index);

}  // namespace tav::win32
