#include "app/program.h"

#include "app/main_flow.h"
#include "platform/error_report.h"

namespace tav {

EventProcedures event_procedures(int& event_code) {
  const auto store = [&event_code](int code) {
    return [&event_code, code](Control) { event_code = code; };
  };
  return {
      {"BUTTON1_ON", store(event_code::kBrowse)},
      {"BUTTON2_ON", store(event_code::kDriveToFolder)},
      {"BUTTON3_ON", store(event_code::kFolderToDrive)},
      {"BUTTON4_ON", store(event_code::kStop)},
      {"LIST1_DBLCLICK", store(event_code::kList1Double)},
      {"LIST2_DBLCLICK", store(event_code::kList2Double)},
  };
}

void run_in_window(Window& window, int& event_code, std::string_view program_name) {
  try {
    MainFlow(window, event_code).run();
  } catch (const RuntimeError& error) {
    report_runtime_error(error, program_name,
                         [&window](const ErrorReport& report) { window.show_error_report(report); });
  }
  window.end_program(1);
}

}  // namespace tav
