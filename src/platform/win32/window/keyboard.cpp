#include "platform/win32/window/keyboard.h"

#include "platform/win32/window/form_command.h"

#include <exception>
#include <utility>
#include <vector>

namespace tav::win32 {

namespace {

HHOOK g_hook = nullptr;
FormState* g_state = nullptr;

bool is_repeat(LPARAM flags) { return (flags & (LPARAM{1} << 30)) != 0; }
bool is_release(LPARAM flags) { return (flags & (LPARAM{1} << 31)) != 0; }
bool is_held(int key) { return ::GetKeyState(key) < 0; }

// The form, then its controls in creation order: the ring Tab walks.
std::vector<Control> tab_ring(const FormState& state) {
  std::vector<Control> ring{Control::MainForm};
  for (const ControlDesc& desc : state.desc.controls) ring.push_back(desc.id);
  return ring;
}

bool takes_tab(const FormState& state, Control control) {
  if (control == Control::MainForm) return true;
  const HWND window = window_of(state, control);
  return (::GetWindowLongPtrW(window, GWL_STYLE) & WS_TABSTOP) != 0 &&
         ::IsWindowEnabled(window) && ::IsWindowVisible(window);
}

// The focused window as one of the form's controls (or the form itself),
// while the form is in front and no window holds the mouse.
std::optional<Control> focused_control(const FormState& state) {
  if (!state.form || ::GetForegroundWindow() != state.form || ::GetCapture()) return std::nullopt;
  const HWND focus = ::GetFocus();
  if (focus == state.form) return Control::MainForm;
  if (!focus || !::IsChild(state.form, focus)) return std::nullopt;
  return control_of(state, focus);
}

bool handle_tab(FormState& state, Control focused, LPARAM flags) {
  if (kind_of(state, focused) == ControlKind::Edit && is_held(VK_CONTROL)) return false;
  if (is_release(flags)) return false;
  if (is_repeat(flags)) return true;
  const HWND next = next_tab_stop(state, focused, is_held(VK_SHIFT));
  if (next == window_of(state, focused)) return false;
  ::SetFocus(next);
  return true;
}

// Press shows the button down; release on the same button clicks it.
bool handle_press(FormState& state, Control focused, LPARAM flags) {
  const auto kind = kind_of(state, focused);
  if (kind != ControlKind::PushButton && kind != ControlKind::CheckBox) return false;
  const HWND button = window_of(state, focused);
  if (!is_release(flags)) {
    ::SendMessageW(button, BM_SETSTATE, TRUE, 0);
    state.pressed_button = button;
    return true;
  }
  ::SendMessageW(button, BM_SETSTATE, FALSE, 0);
  if (std::exchange(state.pressed_button, nullptr) == button) {
    ::PostMessageW(button, BM_CLICK, 0, 0);
  }
  return true;
}

// True when the key is swallowed. Ctrl+Z is the form's command wherever
// the focus is on the form, also in a text field.
bool handle_key(FormState& state, WPARAM key, LPARAM flags) {
  if (key != VK_TAB && key != VK_RETURN && key != VK_SPACE && key != 'Z') return false;
  if (is_held(VK_MENU)) return false;
  const auto focused = focused_control(state);
  if (!focused) return false;
  if (key == 'Z') return ::IsWindowEnabled(state.form) && take_command_key(state, key, flags);
  if (!::IsWindowEnabled(state.form) || !::IsWindowEnabled(window_of(state, *focused))) {
    return true;
  }
  return key == VK_TAB ? handle_tab(state, *focused, flags) : handle_press(state, *focused, flags);
}

LRESULT CALLBACK keyboard_hook(int code, WPARAM key, LPARAM flags) {
  if (code == HC_ACTION && g_state) {
    try {
      if (handle_key(*g_state, key, flags)) return 1;
    } catch (...) {
      g_state->events.hold(std::current_exception());
      return 1;
    }
  }
  return ::CallNextHookEx(g_hook, code, key, flags);
}

}  // namespace

HWND next_tab_stop(const FormState& state, Control from, bool backwards) {
  const std::vector<Control> ring = tab_ring(state);
  const std::size_t size = ring.size();
  std::size_t at = 0;
  while (at < size && ring[at] != from) ++at;
  for (std::size_t step = 1; step < size; ++step) {
    const std::size_t next = backwards ? (at + size - step) % size : (at + step) % size;
    if (takes_tab(state, ring[next])) return window_of(state, ring[next]);
  }
  return window_of(state, from);
}

void install_keyboard_hook(FormState& state) {
  g_state = &state;
  if (!g_hook) {
    g_hook = ::SetWindowsHookExW(WH_KEYBOARD, keyboard_hook, nullptr, ::GetCurrentThreadId());
  }
}

void remove_keyboard_hook() {
  if (g_hook) ::UnhookWindowsHookEx(std::exchange(g_hook, nullptr));
  g_state = nullptr;
}

}  // namespace tav::win32
