#include "platform/win32/window/form_command.h"

#include "platform/win32/wide.h"

namespace tav::win32 {

namespace {

// Below the system's own commands (0xF000 and up), its low four bits clear
// as the system menu requires.
constexpr UINT kUndoItem = 0x0010;

bool is_held(int key) { return ::GetKeyState(key) < 0; }

}  // namespace

void add_form_command(const FormState& state) {
  if (state.desc.undo_command.empty()) return;
  const HMENU menu = ::GetSystemMenu(state.form, FALSE);
  if (!menu) return;
  ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(menu, MF_STRING, kUndoItem, widen(state.desc.undo_command).c_str());
}

bool take_form_command(FormState& state, WPARAM choice) {
  if ((choice & 0xFFF0) != kUndoItem || state.desc.undo_command.empty()) return false;
  state.events.queue(Control::MainForm, event::kUndo);
  return true;
}

bool take_command_key(FormState& state, WPARAM key, LPARAM flags) {
  if (key != 'Z' || state.desc.undo_command.empty()) return false;
  if (!is_held(VK_CONTROL) || is_held(VK_MENU) || is_held(VK_SHIFT)) return false;
  const bool released = (flags & (LPARAM{1} << 31)) != 0;
  const bool repeated = (flags & (LPARAM{1} << 30)) != 0;
  if (!released && !repeated) state.events.queue(Control::MainForm, event::kUndo);
  return true;
}

}  // namespace tav::win32
