// The DPI a window is drawn at. The functions that tell it per window are
// looked up in user32 when first needed, so that the program still starts
// on systems that lack them; there the system's DPI answers.
#pragma once

#include <windows.h>

namespace tav::win32 {

// The DPI of the screen as the system scales it for every window.
int system_dpi();

// The DPI of the window (of its monitor, where the system scales each
// monitor on its own); the system's DPI where it cannot tell.
int window_dpi(HWND window);

}  // namespace tav::win32
