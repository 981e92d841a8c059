// The report of a run-time error: the box the user sees and the last-error
// record kept in the per-user configuration store.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "errors/runtime_error.h"
#include "platform/last_error_store.h"

namespace tav {

// The report box: OK, exclamation icon and a Help button.
struct ErrorReport {
  std::string title;  // program name + ".EXE"
  std::string text;   // report line, then "\n" and the message text if one exists
};

// Program name: the executable's file name without folder and without the
// part from its last "." on.
std::string program_name_of(std::string_view executable_path);

// "\r\n<file> [<line>行]:エラー[<number>]"
std::string report_line(const RuntimeError& error);

// Short Japanese text for an error number; empty when the program has none.
std::string_view error_message(int number);

// Local time as "Y/MM/DD hh:mm:ss".
std::string local_time_text(std::time_t when);

ErrorReport build_error_report(const RuntimeError& error, std::string_view program_name);

LastErrorRecord make_last_error_record(const RuntimeError& error, std::string_view time_text);

// Records the error and shows its report through show_box; used once, at the
// top of the program. A failure while reporting is not reported again.
void report_runtime_error(const RuntimeError& error, std::string_view program_name,
                          const std::function<void(const ErrorReport&)>& show_box) noexcept;

// The fixed texts of the start-up failures of the window layer (index 1..8).
std::string_view startup_failure_text(int index);

}  // namespace tav
