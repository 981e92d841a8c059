// COM on the window's thread, for the shell's parts the window uses (the
// folder browser, the taskbar button).
#pragma once

namespace tav::win32 {

// Initialises COM for this thread (a single-threaded apartment) once; it
// stays initialised for the rest of the process.
void ensure_com();

}  // namespace tav::win32
