// The form's window on the Win32 API.
#pragma once

#include <memory>

#include "window/form.h"
#include "window/window.h"

namespace tav::win32 {

// Creates the form's window, hidden, from its description. On failure it
// shows the start-up failure box and ends the program.
std::unique_ptr<Window> open_main_window(const FormDesc& form);

}  // namespace tav::win32
