#include "platform/win32/message_loop.h"

#include "platform/win32/keyboard.h"

namespace tav::win32 {

namespace {

// Takes the next posted message (dispatching sent ones on the way) and
// throws what their window procedures caught.
bool take_message(FormState& state, MSG& message) {
  const bool taken = ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE) != FALSE;
  rethrow_deferred(state);
  return taken;
}

void dispatch(FormState& state, const MSG& message) {
  ::TranslateMessage(&message);
  ::DispatchMessageW(&message);
  rethrow_deferred(state);
}

// WM_QUIT or a form that has gone: nothing of the main flow runs any more.
void end_if_form_gone(FormState& state, const MSG* message) {
  if (message && message->message == WM_QUIT) {
    end_program(state, static_cast<int>(message->wParam));
  }
  if (!form_exists(state)) end_program(state, 0);
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

void wait_for_event(FormState& state) {
  end_if_form_gone(state, nullptr);
  // Events queued while the main flow was busy come first, one per wait.
  if (state.events.run_oldest()) return;
  for (;;) {
    MSG message;
    const bool taken = take_message(state, message);
    if (taken) {
      end_if_form_gone(state, &message);
      dispatch(state, message);
    }
    end_if_form_gone(state, nullptr);
    if (state.events.run_oldest()) return;
    if (!taken) block_for_message();
  }
}

void process_pending_events(FormState& state) {
  if (!state.events.drain_due()) return;
  MSG message;
  while (take_message(state, message)) {
    end_if_form_gone(state, &message);
    dispatch(state, message);
  }
  end_if_form_gone(state, nullptr);
}

void end_program(FormState& state, int exit_code) {
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
