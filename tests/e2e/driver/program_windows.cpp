#include "program_windows.h"

#include <cstring>

#include "app/main_form.h"
#include "platform/win32/wide.h"
#include "support/win32/window/form_windows.h"

namespace tav::driver {

namespace {

constexpr wchar_t kTitle[] = L"Tavrelon";
constexpr std::string_view kFormName = "MAINFORM";

struct DialogSearch {
  DWORD process;
  HWND found;
};

BOOL CALLBACK match_dialog(HWND window, LPARAM data) {
  auto& search = *reinterpret_cast<DialogSearch*>(data);
  wchar_t name[16] = {};
  ::GetClassNameW(window, name, 16);
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  if (process == search.process && std::wstring_view(name) == L"#32770" &&
      ::IsWindowVisible(window)) {
    search.found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

HWND form_window(double seconds) {
  return wait_for_window([] { return test::find_form_window(kTitle); }, seconds);
}

HWND control_window(HWND form, const ControlDesc& desc) {
  return test::find_control_window(form, desc, test::form_dpi(form, main_form()));
}

HWND named_window(std::string_view name, double seconds) {
  const HWND form = form_window(seconds);
  if (!form) return nullptr;
  if (_stricmp(std::string(name).c_str(), kFormName.data()) == 0) return form;
  const ControlDesc* desc = test::control_named(main_form(), name);
  return desc ? control_window(form, *desc) : nullptr;
}

HWND dialog_window(double seconds) {
  const HWND form = form_window(seconds);
  if (!form) return nullptr;
  DWORD process = 0;
  ::GetWindowThreadProcessId(form, &process);
  return wait_for_window(
      [process] {
        DialogSearch search{process, nullptr};
        ::EnumWindows(match_dialog, reinterpret_cast<LPARAM>(&search));
        return search.found;
      },
      seconds);
}

std::string focused_name() {
  const HWND form = form_window(0);
  if (!form) return {};
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(form, nullptr), &info)) return {};
  if (info.hwndFocus == form) return std::string(kFormName);
  for (const ControlDesc& desc : main_form().controls) {
    const HWND control = control_window(form, desc);
    if (control && (control == info.hwndFocus || ::IsChild(control, info.hwndFocus))) {
      return std::string(desc.name);
    }
  }
  return {};
}

std::string window_text(HWND window) {
  const auto length = ::SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const auto copied = ::SendMessageW(window, WM_GETTEXT, text.size(),
                                     reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(copied));
  return win32::narrow(text);
}

}  // namespace tav::driver
