// The program from start to end: the window, the main flow, and the one
// place where run-time errors are reported.
#pragma once

#include <string_view>

#include "platform/window.h"

namespace tav {

// The six event procedures; each stores its code in event_code.
EventProcedures event_procedures(int& event_code);

// Runs the main flow in window and ends the program through it. A run-time
// error is reported here, once, and ends the program.
[[noreturn]] void run_in_window(Window& window, int& event_code, std::string_view program_name);

// Creates the main window and runs the program in it.
[[noreturn]] void run_program(std::string_view executable_path);

}  // namespace tav
