// Dialog-like keys on the form through a keyboard hook on the program's
// thread: Tab and Shift+Tab move through the tab stops and the form itself;
// Enter or Space click the focused push button or check box.
#pragma once

#include <windows.h>

#include "platform/win32/window/form_state.h"

namespace tav::win32 {

void install_keyboard_hook(FormState& state);
void remove_keyboard_hook();

// The window Tab (or Shift+Tab, backwards) moves to from the given one: the
// next control in creation order that is a tab stop, enabled and visible, or
// after the last of them the form itself. The given window again when
// nothing else qualifies.
HWND next_tab_stop(const FormState& state, Control from, bool backwards);

}  // namespace tav::win32
