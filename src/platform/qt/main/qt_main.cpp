// The Linux program: a Qt application whose one window runs the main flow.
#include <QApplication>
#include <climits>
#include <cstdlib>
#include <iostream>
#include <string>
#include <unistd.h>

#include "app/command_line.h"
#include "app/main_form.h"
#include "app/program.h"
#include "errors/error_report.h"
#include "platform/qt/application_identity.h"
#include "platform/qt/qt_window.h"

namespace {

// The path of the running executable; argv[0] when the system cannot say.
std::string executable_path(const char* argv0) {
  char path[PATH_MAX];
  const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path - 1);
  if (length > 0) return std::string(path, static_cast<std::size_t>(length));
  return argv0 ? argv0 : "tavrelon";
}

}  // namespace

int main(int argc, char* argv[]) {
  // --help and --version are answered without a display.
  if (const auto status =
          tav::answer_command_line({argv, std::size_t(argc)}, std::cout, std::cerr)) {
    return *status;
  }
  QApplication application(argc, argv);
  if (const auto status = tav::refuse_left_over_arguments({argv, std::size_t(argc)}, std::cerr)) {
    return *status;
  }
  tav::qt::present_application();
  tav::qt::QtWindow window(tav::main_form(), tav::qt::program_exit());
  tav::run_program(window, tav::list_drives(),
                   tav::program_name_of(executable_path(argc > 0 ? argv[0] : nullptr)));
}
