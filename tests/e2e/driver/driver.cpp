// tavrelon_driver: drives the running Tavrelon.exe from a process of its
// own, for the end-to-end tests. One command per run:
//   tavrelon_driver COMMAND [ARGUMENTS...]
// Texts are read and printed as UTF-8. Exit status 0 on success, 1 when the
// window or item is not there (after waiting), 2 for a wrong command line.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "app/main_form.h"
#include "platform/win32/wide.h"
#include "program_windows.h"
#include "support/win32/window/form_windows.h"
#include "support/win32/window/key_strokes.h"
#include "user_input.h"

namespace tav::driver {

namespace {

using Args = std::vector<std::string>;

void print(std::string_view text) {
  DWORD written = 0;
  ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()),
              &written, nullptr);
}

double seconds_arg(const Args& args, std::size_t at) {
  return args.size() > at ? std::stod(args[at]) : kDefaultWait;
}

int found(bool ok) { return ok ? 0 : 1; }

int wait_window(const Args& args) { return found(form_window(seconds_arg(args, 1)) != nullptr); }

int rect(const Args&) {
  const HWND form = form_window();
  RECT r{};
  if (!form || !::GetWindowRect(form, &r)) return 1;
  print(std::to_string(r.left) + " " + std::to_string(r.top) + " " +
        std::to_string(r.right - r.left) + " " + std::to_string(r.bottom - r.top) + "\n");
  return 0;
}

// Every control of the form as it is found at its place at the form's DPI:
// "NAME left top width height" in the form's client coordinates, in the
// form's order, without the height of a list box (whole rows) or a combo
// box (its field); a control not found there prints its name alone.
int places(const Args&) {
  const HWND form = form_window();
  if (!form) return 1;
  for (const ControlDesc& desc : main_form().controls) {
    std::string line(desc.name);
    if (const HWND control = control_window(form, desc)) {
      const RECT r = test::rect_in_parent(control);
      line += " " + std::to_string(r.left) + " " + std::to_string(r.top) + " " +
              std::to_string(r.right - r.left);
      if (desc.kind != ControlKind::ListBox && desc.kind != ControlKind::ComboBox) {
        line += " " + std::to_string(r.bottom - r.top);
      }
    }
    print(line + "\n");
  }
  return 0;
}

// The height of a list box's rows: the height of its font's characters.
int item_height(const Args& args) {
  const HWND list = named_window(args[1]);
  if (list) print(std::to_string(::SendMessageW(list, LB_GETITEMHEIGHT, 0, 0)) + "\n");
  return found(list != nullptr);
}

int text(const Args& args) {
  const HWND window = named_window(args[1]);
  if (window) print(window_text(window) + "\n");
  return found(window != nullptr);
}

int wait_text(const Args& args) {
  const HWND window = named_window(args[1]);
  if (!window) return 1;
  const std::string wanted = args[2];
  return found(wait_for_window(
                   [&] { return window_text(window) == wanted ? window : nullptr; },
                   seconds_arg(args, 3)) != nullptr);
}

int set_text(const Args& args) {
  const HWND window = named_window(args[1]);
  if (window) {
    ::SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(win32::widen(args[2]).c_str()));
  }
  return found(window != nullptr);
}

// The items of a list box or of a combo box's list, in their order.
std::vector<std::wstring> list_items(HWND list) {
  wchar_t kind[16] = {};
  ::GetClassNameW(list, kind, 16);
  const bool combo = _wcsicmp(kind, L"ComboBox") == 0;
  const auto count = ::SendMessageW(list, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
  std::vector<std::wstring> items;
  for (LRESULT row = 0; row < count; ++row) {
    const auto length = ::SendMessageW(list, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, row, 0);
    std::wstring item(static_cast<std::size_t>(length) + 1, L'\0');
    ::SendMessageW(list, combo ? CB_GETLBTEXT : LB_GETTEXT, row,
                   reinterpret_cast<LPARAM>(item.data()));
    item.resize(static_cast<std::size_t>(length));
    items.push_back(std::move(item));
  }
  return items;
}

void print_items(const std::vector<std::wstring>& items) {
  for (const std::wstring& item : items) print(win32::narrow(item) + "\n");
}

int items(const Args& args) {
  const HWND list = named_window(args[1]);
  if (!list) return 1;
  print_items(list_items(list));
  return 0;
}

int selected(const Args& args) {
  const HWND list = named_window(args[1]);
  if (list) print(std::to_string(::SendMessageW(list, LB_GETCURSEL, 0, 0)) + "\n");
  return found(list != nullptr);
}

// The items of a list box in the order a sorted list box of the same locale
// gives them: a list box of the driver's own (message-only, never shown) is
// filled with them, one LB_ADDSTRING each, and read back.
int sort_items(const Args& args) {
  const HWND list = named_window(args[1]);
  if (!list) return 1;
  const HWND sorter =
      ::CreateWindowExW(0, L"LISTBOX", L"", LBS_SORT | LBS_HASSTRINGS, 0, 0, 0, 0, HWND_MESSAGE,
                        nullptr, ::GetModuleHandleW(nullptr), nullptr);
  if (!sorter) {
    const std::string error =
        "sort-items: no list box of its own (error " + std::to_string(::GetLastError()) + ")\n";
    DWORD written = 0;
    ::WriteFile(::GetStdHandle(STD_ERROR_HANDLE), error.data(), static_cast<DWORD>(error.size()),
                &written, nullptr);
    return 1;
  }
  ::SendMessageW(sorter, LB_SETLOCALE, ::SendMessageW(list, LB_GETLOCALE, 0, 0), 0);
  for (const std::wstring& item : list_items(list)) {
    ::SendMessageW(sorter, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  }
  print_items(list_items(sorter));
  ::DestroyWindow(sorter);
  return 0;
}

int enabled(const Args& args) {
  const HWND window = named_window(args[1]);
  if (window) print(::IsWindowEnabled(window) ? "1\n" : "0\n");
  return found(window != nullptr);
}

int checked(const Args& args) {
  const HWND window = named_window(args[1]);
  if (window) print(::SendMessageW(window, BM_GETCHECK, 0, 0) == BST_CHECKED ? "1\n" : "0\n");
  return found(window != nullptr);
}

int click_control(const Args& args) {
  const HWND window = named_window(args[1]);
  if (window) click(window);
  return found(window != nullptr);
}

int double_click(const Args& args) {
  const HWND list = named_window(args[1]);
  return found(list && double_click_row(list, std::stoi(args[2])));
}

int keys(const Args& args) {
  const HWND form = form_window();
  if (!form) return 1;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (!press_key(form, args[i])) return 2;
    ::Sleep(100);
  }
  return 0;
}

int focus(const Args&) {
  print(focused_name() + "\n");
  return 0;
}

int box_text(const Args& args) {
  const HWND box = dialog_window(seconds_arg(args, 1));
  if (!box) return 1;
  // A message box shows its text in the static control numbered 0xFFFF.
  const HWND message = ::GetDlgItem(box, 0xFFFF);
  print(window_text(box) + "\n" + (message ? window_text(message) : std::string()) + "\n");
  return 0;
}

constexpr std::array<std::pair<std::string_view, int>, 7> kAnswers{{
    {"OK", IDOK}, {"CANCEL", IDCANCEL}, {"ABORT", IDABORT}, {"RETRY", IDRETRY},
    {"IGNORE", IDIGNORE}, {"YES", IDYES}, {"NO", IDNO}}};

int box_answer(const Args& args) {
  const auto answer =
      std::ranges::find(kAnswers, args[1], &std::pair<std::string_view, int>::first);
  if (answer == kAnswers.end()) return 2;
  const HWND box = dialog_window();
  const HWND button = box ? ::GetDlgItem(box, answer->second) : nullptr;
  if (button) click(button);
  return found(button != nullptr);
}

int close(const Args&) {
  const HWND form = form_window();
  if (form) ::PostMessageW(form, WM_CLOSE, 0, 0);
  return found(form != nullptr);
}

// The form's own item of its system menu, chosen as the user chooses it
// from the keyboard: Alt+Space opens the menu, the item's letter chooses it.
int menu_undo(const Args&) {
  const HWND form = form_window();
  if (!form) return 1;
  ::SetForegroundWindow(form);
  test::send_strokes({test::key_stroke(VK_MENU, false), test::key_stroke(VK_SPACE, false),
                      test::key_stroke(VK_SPACE, true), test::key_stroke(VK_MENU, true)});
  ::Sleep(300);
  test::send_strokes({test::key_stroke('U', false), test::key_stroke('U', true)});
  return 0;
}

struct Command {
  std::string_view name;
  std::size_t arguments;  // at least
  int (*run)(const Args&);
  std::string_view usage;
};

constexpr std::array<Command, 21> kCommands{{
    {"wait-window", 0, wait_window, "[SECONDS]  wait until the form is shown"},
    {"rect", 0, rect, "  the form's screen rectangle: left top width height"},
    {"places", 0, places, "  each control: NAME left top width [height] on the form"},
    {"item-height", 1, item_height, "LIST  the height of a list box's rows"},
    {"text", 1, text, "NAME  text of the form or a control"},
    {"wait-text", 2, wait_text, "NAME TEXT [SECONDS]  wait until the control shows TEXT"},
    {"set-text", 2, set_text, "NAME TEXT  replace a control's text"},
    {"items", 1, items, "LIST  the items of a list or combo box, one a line"},
    {"sort-items", 1, sort_items, "LIST  its items as a sorted list box orders them"},
    {"selected", 1, selected, "LIST  the selected row (from 0), -1 for none"},
    {"enabled", 1, enabled, "NAME  1 or 0"},
    {"checked", 1, checked, "NAME  1 or 0"},
    {"click", 1, click_control, "NAME  click a button"},
    {"dblclick", 2, double_click, "LIST ROW  double-click a row (from 0)"},
    {"key", 1, keys, "KEY...  TAB, SHIFT+TAB, ENTER, SPACE or ESC to the form"},
    {"focus", 0, focus, "  name of the focused control"},
    {"box-text", 0, box_text, "[SECONDS]  caption and text of the program's dialog box"},
    {"box-answer", 1, box_answer, "OK|CANCEL|YES|NO|ABORT|RETRY|IGNORE  press that button"},
    {"close", 0, close, "  close the form as its close box does"},
    {"menu-undo", 0, menu_undo, "  choose the undo item of the form's system menu"},
    {"help", 0, nullptr, "  this list"},
}};

int usage() {
  std::string text = "usage: tavrelon_driver COMMAND [ARGUMENTS]\n";
  for (const Command& command : kCommands) {
    text += "  " + std::string(command.name) + " " + std::string(command.usage) + "\n";
  }
  DWORD written = 0;
  ::WriteFile(::GetStdHandle(STD_ERROR_HANDLE), text.data(), static_cast<DWORD>(text.size()),
              &written, nullptr);
  return 2;
}

Args arguments() {
  int count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  Args args;
  for (int i = 1; i < count; ++i) args.push_back(win32::narrow(wide[i]));
  ::LocalFree(wide);
  return args;
}

}  // namespace

int run() {
  const Args args = arguments();
  if (args.empty()) return usage();
  const auto command = std::ranges::find(kCommands, args[0], &Command::name);
  if (command == kCommands.end() || !command->run || args.size() - 1 < command->arguments) {
    return usage();
  }
  try {
    return command->run(args);
  } catch (const std::exception&) {
    return usage();  // a number that is not one
  }
}

}  // namespace tav::driver

int main() { return tav::driver::run(); }
