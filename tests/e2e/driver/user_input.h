// What a user does, sent to the program's windows from the driver's process.
#pragma once

#include <windows.h>

#include <string_view>

namespace tav::driver {

// A click on a button as BM_CLICK, posted.
void click(HWND button);

// A double-click on a list box row: the mouse messages of the gesture at the
// row's rectangle, posted. False when the row does not exist.
bool double_click_row(HWND list, int row);

// Real key strokes through the system's input, to the form in front: TAB,
// SHIFT+TAB, ENTER, SPACE, ESC. False for an unknown key.
bool press_key(HWND form, std::string_view key);

}  // namespace tav::driver
