// The entry point of Tavrelon.exe: the form's window, the drives, and the
// program run in them under the name of its own executable.
#include <windows.h>

#include "app/main_form.h"
#include "app/program.h"
#include "errors/error_report.h"
#include "platform/win32/module_path.h"
#include "platform/win32/window/window_win32.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const auto window = tav::win32::open_main_window(tav::main_form());
  tav::run_program(*window, tav::list_drives(),
                   tav::program_name_of(tav::win32::module_path()));
}
