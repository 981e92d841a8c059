// Event delivery on the Win32 message queue: the wait that runs one event
// procedure, the between-steps processing, and the end of the program.
#pragma once

#include "platform/win32/form_state.h"

namespace tav::win32 {

// Runs exactly one queued event procedure, processing (and blocking for)
// messages until one is queued. Ends the program once the form is gone.
void wait_for_event(FormState& state);

// Drains the pending messages on the 1st, 12th, 23rd... call; runs no event
// procedure. Ends the program once the form is gone.
void process_pending_events(FormState& state);

// Destroys the form without its close query, drains what is pending and
// exits the process.
[[noreturn]] void end_program(FormState& state, int exit_code);

bool form_exists(const FormState& state);

}  // namespace tav::win32
