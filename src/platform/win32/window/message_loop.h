// The Win32 message queue as the event delivery's source: handling what is
// queued, waiting for more, and the end of the program.
#pragma once

#include "platform/win32/window/form_state.h"

namespace tav::win32 {

// Handles the posted messages (and the sent ones on the way) until none is
// left, or, with wait, one message, first waiting for one if none is
// queued. Stops once the form has gone.
void pump_messages(FormState& state, bool wait);

// Destroys the form without its close query, handles what is still pending
// and exits the process.
[[noreturn]] void end_process(FormState& state, int exit_code);

bool form_exists(const FormState& state);

}  // namespace tav::win32
