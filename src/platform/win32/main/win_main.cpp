// The entry point of Tavrelon.exe: the program runs with the path of its
// own executable.
#include <windows.h>

#include "app/program.h"
#include "platform/win32/module_path.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  tav::run_program(tav::win32::module_path());
}
