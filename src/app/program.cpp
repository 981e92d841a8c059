#include "app/program.h"

#include "app/main_flow.h"
#include "platform/error_report.h"

namespace tav {

void run_program(Window& window, std::vector<Drive> drives, std::string_view program_name) {
  try {
    MainFlow(window, std::move(drives)).run();
  } catch (const RuntimeError& error) {
    report_runtime_error(error, program_name,
                         [&window](const ErrorReport& report) { window.show_error_report(report); });
  }
  window.end_program(1);
}

}  // namespace tav
