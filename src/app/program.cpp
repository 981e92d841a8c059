#include "app/program.h"

#include <new>

#include "app/main_flow.h"
#include "errors/detail_words.h"
#include "errors/error_report.h"

namespace tav {

namespace {

void report(Window& window, const RuntimeError& error, std::string_view program_name) {
  report_runtime_error(error, program_name,
                       [&window](const ErrorReport& report) { window.show_error_report(report); });
}

}  // namespace

void run_program(Window& window, std::vector<Drive> drives, std::string_view program_name) {
  try {
    MainFlow(window, std::move(drives)).run();
  } catch (const RuntimeError& error) {
    report(window, error, program_name);
  } catch (const std::bad_alloc&) {
    report(window, RuntimeError(err::kOutOfMemory, detail::kOutOfMemory, std::source_location::current()),
           program_name);
  }
  window.end_program(1);
}

}  // namespace tav
