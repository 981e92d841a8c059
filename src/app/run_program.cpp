#include "app/main_flow.h"
#include "app/main_form.h"
#include "app/program.h"
#include "platform/error_report.h"

namespace tav {

void run_program(std::string_view executable_path) {
  static int event_code = event_code::kNone;
  const auto window = create_main_window(main_form(), event_procedures(event_code));
  run_in_window(*window, event_code, program_name_of(executable_path));
}

}  // namespace tav
