// The form's command besides its controls (the undo of the last run): an
// item of the window's system menu, and Ctrl+Z, each sending the form's
// undo event.
#pragma once

#include <windows.h>

#include "platform/win32/window/form_state.h"

namespace tav::win32 {

// Adds the item below the system menu's own, after a separator; nothing
// where the form has no such command.
void add_form_command(const FormState& state);

// For WM_SYSCOMMAND: whether the choice is the form's item (then its event
// is queued).
bool take_form_command(FormState& state, WPARAM choice);

// For a key the form's keyboard hook sees: whether it is Ctrl+Z, taken as
// the form's command (queued once, when pressed).
bool take_command_key(FormState& state, WPARAM key, LPARAM flags);

}  // namespace tav::win32
