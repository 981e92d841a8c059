#include "platform/win32/window/form_window_class.h"

#include <exception>
#include <optional>

#include "platform/win32/window/control_style.h"
#include "platform/win32/window/form_command.h"
#include "platform/win32/window/form_rescale.h"
#include "platform/win32/window/form_state.h"
#include "platform/win32/window/notifications.h"

namespace tav::win32 {

namespace {

void queue_notification(FormState& state, WORD notification, HWND from) {
  const auto control = control_of(state, from);
  if (!control) return;
  const auto kind = kind_of(state, *control);
  if (!kind) return;
  for (const int event : events_of_notification(*kind, notification)) {
    state.events.queue(*control, event);
  }
}

// The close box, Alt+F4 or the system menu: the form's close query runs at
// once if the application has one; then the program ends at its next
// processing of events. The window stays on the screen until then, so that
// it never disappears while the program still writes.
void close_form(FormState& state) {
  state.events.run_now(Control::MainForm, event::kQueryClose);
  state.events.form_closed();
}

// The main form destroyed: the layer forgets it and tells the delivery,
// which ends the program; WM_QUIT wakes a wait.
void forget_form(FormState& state, HWND window) {
  if (window != state.form) return;
  state.form = nullptr;
  state.windows = {};
  state.events.form_closed();
  ::PostQuitMessage(0);
}

std::optional<LRESULT> handle(FormState& state, HWND window, UINT message, WPARAM wparam,
                              LPARAM lparam) {
  if (message == TaskbarButton::button_created_message() && window == state.form) {
    state.taskbar.button_created(window);
    return 0;
  }
  switch (message) {
    case WM_COMMAND:
      if (lparam != 0) {
        queue_notification(state, HIWORD(wparam), reinterpret_cast<HWND>(lparam));
        return 0;
      }
      return std::nullopt;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
      if (const HBRUSH brush = control_colours(state, reinterpret_cast<HDC>(wparam),
                                               reinterpret_cast<HWND>(lparam))) {
        return reinterpret_cast<LRESULT>(brush);
      }
      return std::nullopt;
    case WM_DPICHANGED:
      // Both halves of wparam hold the new DPI; lparam the frame suggested.
      rescale_form(state, HIWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
      return 0;
    case WM_SYSCOMMAND:
      if (take_form_command(state, wparam)) return 0;
      return std::nullopt;
    case WM_CLOSE:
      close_form(state);
      return 0;
    case WM_DESTROY:
      forget_form(state, window);
      return 0;
    default:
      return std::nullopt;
  }
}

}  // namespace

LRESULT CALLBACK form_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* state = static_cast<FormState*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    state->form = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
  }
  auto* state = reinterpret_cast<FormState*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (state) {
    // No exception may cross into the system: it is kept and thrown again
    // once the call that dispatched this message has returned.
    try {
      if (const auto result = handle(*state, window, message, wparam, lparam)) return *result;
    } catch (...) {
      state->events.hold(std::current_exception());
      return 0;
    }
  }
  return ::DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace tav::win32
