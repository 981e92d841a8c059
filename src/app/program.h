// The program from start to end in the window its entry point made: the
// main flow, and the one place where run-time errors are reported.
#pragma once

#include <string_view>
#include <vector>

#include "platform/drives.h"
#include "window/window.h"

namespace tav {

// Runs the main flow in window, with the drives listed at start-up, and
// ends the program through the window. A run-time error is reported here,
// once, and ends the program.
[[noreturn]] void run_program(Window& window, std::vector<Drive> drives,
                              std::string_view program_name);

}  // namespace tav
