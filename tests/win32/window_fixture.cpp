#include "window_fixture.h"

#include "platform/win32/window/window_win32.h"

namespace tav::test {

void WindowTest::SetUp() {
  wchar_t display[256] = {};
  if (::GetEnvironmentVariableW(L"DISPLAY", display, 256) == 0) {
    GTEST_SKIP() << "no DISPLAY: the window tests run in scripts/test's virtual display";
  }
}

void WindowTest::open(EventProcedures with) {
  window = win32::open_main_window(main_form());
  window->bind_procedures(std::move(with));
  window->set_visible(Control::MainForm, true);
}

namespace {

BOOL CALLBACK take_titled_form(HWND window, LPARAM found) {
  wchar_t title[32] = {};
  ::GetWindowTextW(window, title, 32);
  if (std::wstring_view(title) != L"Tavrelon") return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

}  // namespace

// The form of this test's own thread (another program's may be open too).
HWND WindowTest::form() const {
  HWND found = nullptr;
  ::EnumThreadWindows(::GetCurrentThreadId(), take_titled_form, reinterpret_cast<LPARAM>(&found));
  return found;
}

HWND WindowTest::control(Control id) const {
  return find_control_window(form(), main_form().control(id), dpi);
}

void WindowTest::post_click(Control button) const {
  ::PostMessageW(control(button), BM_CLICK, 0, 0);
}

bool WindowTest::click_waiting(Control button) const {
  MSG message;
  return ::PeekMessageW(&message, control(button), BM_CLICK, BM_CLICK, PM_NOREMOVE) != FALSE;
}

}  // namespace tav::test
