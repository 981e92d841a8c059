#include "platform/win32/window/message_loop.h"

#include "platform/win32/window/keyboard.h"

namespace tav::win32 {

namespace {

// Nothing more is handled once the form has gone or a handler has failed:
// the main flow learns of it first.
bool must_stop(const FormState& state) { return state.events.closed() || state.events.holds(); }

// Takes the next posted message, dispatching sent ones on the way, and
// dispatches it. WM_QUIT, posted when the form is destroyed, only wakes the
// wait: the delivery has been told that the form is gone.
bool dispatch_one(FormState& state) {
  MSG message;
  if (must_stop(state) || !::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) return false;
  if (message.message == WM_QUIT || must_stop(state)) return true;
  ::TranslateMessage(&message);
  ::DispatchMessageW(&message);
  return true;
}

// Blocks until a message arrives; alertable, like a pause of the thread.
void block_for_message() {
  ::MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE | MWMO_ALERTABLE);
}

}  // namespace

bool form_exists(const FormState& state) {
  return state.form != nullptr && ::IsWindow(state.form);
}

void pump_messages(FormState& state, bool wait) {
  if (wait) {
    if (!dispatch_one(state)) block_for_message();
    return;
  }
  while (dispatch_one(state)) {
  }
}

void end_process(FormState& state, int exit_code) {
  remove_keyboard_hook();
  if (form_exists(state)) ::DestroyWindow(state.form);
  // What is still pending is handled (and anything it throws forgotten);
  // nothing reaches the main flow any more.
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  ::ExitProcess(static_cast<UINT>(exit_code));
}

}  // namespace tav::win32
