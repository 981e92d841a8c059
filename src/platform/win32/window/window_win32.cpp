// tav::Window on the Win32 API: the form built from its description, the
// control operations, message boxes and the event delivery.
#include "platform/win32/window/window_win32.h"

#include <windows.h>

#include "errors/control_errors.h"
#include "platform/win32/wide.h"
#include "platform/win32/window/control_create.h"
#include "platform/win32/window/control_style.h"
#include "platform/win32/window/folder_browser.h"
#include "platform/win32/window/form_command.h"
#include "platform/win32/window/form_state.h"
#include "platform/win32/window/keyboard.h"
#include "platform/win32/window/list_control.h"
#include "platform/win32/window/message_box.h"
#include "platform/win32/window/message_loop.h"
#include "window/delivering_window.h"

namespace tav::win32 {

namespace {

// Start-up failure text for a window that cannot be created.
constexpr int kCannotOpenWindow = 3;

class Win32Window final : public DeliveringWindow {
 public:
  explicit Win32Window(const FormDesc& form) : DeliveringWindow(form), state_(form, events()) {}

  ~Win32Window() override {
    remove_keyboard_hook();
    if (form_exists(state_)) ::DestroyWindow(state_.form);
    free_fonts(state_);
  }

  void open() {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    if (!register_form_class(instance) || !create_form_windows(state_, instance)) {
      fail_startup(state_.form, kCannotOpenWindow);
    }
    add_form_command(state_);
    install_keyboard_hook(state_);
  }

  void set_text(Control control, std::string_view text) override {
    ::SetWindowTextW(window(control, family::kSetText), widen(text).c_str());
  }

  std::string get_text(Control control) override {
    const HWND target = window(control, family::kGetText);
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(target)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        ::GetWindowTextW(target, text.data(), static_cast<int>(text.size()))));
    return narrow(text);
  }

  void set_enabled(Control control, bool enabled) override {
    ::EnableWindow(window(control, family::kSetEnabled), enabled);
  }

  void set_visible(Control control, bool visible) override {
    ::ShowWindow(window(control, family::kSetVisible), visible ? SW_SHOW : SW_HIDE);
  }

  void set_font_size(Control control, int pixels) override {
    window(control, family::kSetFontSize);
    state_.fonts[static_cast<std::size_t>(control)].height = pixels;
    apply_font(state_, control);
  }

  void set_font_bold(Control control, bool bold) override {
    window(control, family::kSetFontBold);
    state_.fonts[static_cast<std::size_t>(control)].bold = bold;
    apply_font(state_, control);
  }

  // The size is given at 96 DPI, and the window takes it at its own.
  void set_size(Control control, int width, int height) override {
    ::SetWindowPos(window(control, family::kSetSize), nullptr, 0, 0,
                   scale_pixels(width, state_.dpi), scale_pixels(height, state_.dpi),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  void list_clear(Control list) override {
    win32::list_clear(list_window(list, family::kListClear), *kind_of(state_, list));
  }

  void list_add(Control list, std::string_view text) override {
    win32::list_add(list_window(list, family::kListAdd), *kind_of(state_, list), text);
  }

  void list_fill(Control list, const std::vector<std::string>& lines) override {
    win32::list_fill(list_window(list, family::kListAdd), *kind_of(state_, list), lines);
  }

  std::string list_item_text(Control list, int row) override {
    return win32::list_item_text(list_window(list, family::kListItemText),
                                 *kind_of(state_, list), row);
  }

  int list_selected_index(Control list) override {
    return win32::list_selected_index(list_window(list, family::kListSelected),
                                      *kind_of(state_, list));
  }

  bool is_checked(Control check_box) override {
    const HWND button = window(check_box, family::kCheckState);
    if (kind_of(state_, check_box) != ControlKind::CheckBox) {
      raise_control_error(err::kUnsupported, family::kCheckState);
    }
    return ::SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED;
  }

  void show_progress(Progress state, double fraction) override {
    if (form_exists(state_)) state_.taskbar.show(state_.form, ShownProgress::of(state, fraction));
  }

  // Flashes the taskbar button until the user brings the form forward.
  void request_attention() override {
    if (!form_exists(state_) || ::GetForegroundWindow() == state_.form) return;
    FLASHWINFO flash{sizeof flash, state_.form, FLASHW_ALL | FLASHW_TIMERNOFG, 0, 0};
    ::FlashWindowEx(&flash);
  }

 private:
  Answer show_message_box(std::string_view caption, std::string_view text, Buttons buttons,
                          Icon icon) override {
    const int result = ::MessageBoxW(window(Control::MainForm, family::kMessageBox),
                                     widen(text).c_str(), widen(caption).c_str(),
                                     message_box_style(buttons, icon));
    return answer_of(result);
  }

  void show_report_box(const ErrorReport& report) override {
    const HWND owner = form_exists(state_) ? state_.form : nullptr;
    if (owner) state_.taskbar.show(owner, state_.taskbar.shown().as_error());
    ::MessageBoxW(owner, widen(report.text).c_str(), widen(report.title).c_str(),
                  kErrorReportStyle);
  }

  std::string choose_folder() override { return win32::browse_for_folder(); }

  void pump(bool wait) override { pump_messages(state_, wait); }

  [[noreturn]] void end_process(int exit_code) override { win32::end_process(state_, exit_code); }

  // The control's window; an error if it no longer exists.
  HWND window(Control control, std::uint8_t operation_family) const {
    const HWND target = window_of(state_, control);
    if (!target || !::IsWindow(target)) {
      raise_control_error(err::kNoControl, operation_family);
    }
    return target;
  }

  HWND list_window(Control list, std::uint8_t operation_family) const {
    const HWND target = window(list, operation_family);
    const auto kind = kind_of(state_, list);
    if (kind != ControlKind::ListBox && kind != ControlKind::ComboBox) {
      raise_control_error(err::kUnsupported, operation_family);
    }
    return target;
  }

  FormState state_;
};

}  // namespace

std::unique_ptr<Window> open_main_window(const FormDesc& form) {
  auto window = std::make_unique<Win32Window>(form);
  window->open();
  return window;
}

}  // namespace tav::win32
