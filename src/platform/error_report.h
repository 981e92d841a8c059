// The report of a run-time error: the box the user sees and the last-error
// record kept in the per-user configuration store.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/runtime_error.h"

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

// The values of the last-error record, under their stored names.
struct LastErrorRecord {
  std::string modl;
  std::uint32_t line = 0;
  std::uint32_t code = 0;
  std::uint32_t func = 0;
  std::uint32_t info = 0;
  std::string time;
  std::string mode;
  std::string rtl;
  std::optional<std::uint32_t> apierr;
};

LastErrorRecord make_last_error_record(const RuntimeError& error, std::string_view time_text);

// Writes the record to this platform's per-user store (the registry on
// Windows, a small text file under the user's configuration folder
// elsewhere). A store that cannot be written is passed over silently.
void store_last_error_record(const LastErrorRecord& record) noexcept;

// Records the error and shows its report through show_box; used once, at the
// top of the program. A failure while reporting is not reported again.
void report_runtime_error(const RuntimeError& error, std::string_view program_name,
                          const std::function<void(const ErrorReport&)>& show_box) noexcept;

// The fixed texts of the start-up failures of the window layer (index 1..8).
std::string_view startup_failure_text(int index);

}  // namespace tav
