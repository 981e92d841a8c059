// Message boxes are modal to the form and answer with the button pressed.
#include <windows.h>

#include <functional>
#include <thread>

#include "window_fixture.h"

namespace tav::test {
namespace {

struct SeenBox {
  std::wstring caption;
  std::wstring text;
  HWND owner = nullptr;
  bool owner_enabled = true;
  bool has_help = false;
};

BOOL CALLBACK take_dialog(HWND window, LPARAM found) {
  wchar_t name[16] = {};
  ::GetClassNameW(window, name, 16);
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  if (process != ::GetCurrentProcessId() || std::wstring_view(name) != L"#32770" ||
      !::IsWindowVisible(window)) {
    return TRUE;
  }
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

std::wstring text_of(HWND window) {
  wchar_t text[512] = {};
  ::GetWindowTextW(window, text, 512);
  return text;
}

// Answers the next box of this process from another thread: records what it
// shows, then does what answer does to it.
class BoxAnswerer {
 public:
  explicit BoxAnswerer(std::function<void(HWND)> answer)
      : thread_([this, answer = std::move(answer)] {
          HWND box = nullptr;
          for (int tries = 0; tries < 200 && !box; ++tries) {
            ::Sleep(25);
            ::EnumWindows(take_dialog, reinterpret_cast<LPARAM>(&box));
          }
          if (!box) return;
          seen.caption = text_of(box);
          seen.text = text_of(::GetDlgItem(box, 0xFFFF));
          seen.owner = ::GetWindow(box, GW_OWNER);
          seen.owner_enabled = ::IsWindowEnabled(seen.owner) != FALSE;
          seen.has_help = ::GetDlgItem(box, IDHELP) != nullptr;
          answer(box);
        }) {}
  ~BoxAnswerer() { thread_.join(); }

  SeenBox seen;

 private:
  std::thread thread_;
};

void press(HWND box, int button) {
  ::PostMessageW(::GetDlgItem(box, button), BM_CLICK, 0, 0);
}

// Esc to the box's focused button, as the keyboard sends it.
void press_escape(HWND box) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  ::GetGUIThreadInfo(::GetWindowThreadProcessId(box, nullptr), &info);
  const HWND focus = info.hwndFocus ? info.hwndFocus : box;
  ::PostMessageW(focus, WM_KEYDOWN, VK_ESCAPE, 1);
  ::PostMessageW(focus, WM_KEYUP, VK_ESCAPE, 0xC0000001);
}

using MessageBoxes = WindowTest;

TEST_F(MessageBoxes, AnAnswerIsTheButtonPressedAndTheFormIsTheOwner) {
  open();
  Answer answer{};
  SeenBox seen;
  {
    BoxAnswerer answerer([](HWND box) { press(box, IDNO); });
    answer = window->message_box("確認", "取り消しますか？", Buttons::YesNo, Icon::Question);
    seen = answerer.seen;
  }
  EXPECT_EQ(answer, Answer::No);
  EXPECT_EQ(seen.caption, L"確認");
  EXPECT_EQ(seen.text, L"取り消しますか？");
  EXPECT_EQ(seen.owner, form());
  EXPECT_FALSE(seen.owner_enabled);  // modal to the form
  EXPECT_TRUE(::IsWindowEnabled(form()));
}

TEST_F(MessageBoxes, EscapeOnAnOkCancelBoxAnswersCancel) {
  open();
  BoxAnswerer answerer([](HWND box) { press_escape(box); });
  EXPECT_EQ(window->message_box("c", "t", Buttons::OkCancel, Icon::Question), Answer::Cancel);
}

TEST_F(MessageBoxes, ClicksOnTheFormWhileABoxIsOpenWaitForTheNextWait) {
  open();
  post_click(Control::Button4);
  {
    BoxAnswerer answerer([](HWND box) { press(box, IDOK); });
    EXPECT_EQ(window->message_box("c", "t", Buttons::Ok, Icon::Information), Answer::Ok);
  }
  EXPECT_TRUE(runs.empty());
  window->wait_for_event();
  EXPECT_EQ(runs, (std::vector<std::string>{"BUTTON4_ON"}));
}

TEST_F(MessageBoxes, TheErrorReportHasOkAndAHelpButtonThatDoesNothing) {
  open();
  SeenBox seen;
  {
    BoxAnswerer answerer([](HWND box) {
      press(box, IDHELP);
      ::Sleep(200);
      press(box, IDOK);
    });
    window->show_error_report({"Tavrelon.EXE", "\r\nmain_flow.cpp [12行]:エラー[75]"});
    seen = answerer.seen;
  }
  EXPECT_EQ(seen.caption, L"Tavrelon.EXE");
  EXPECT_EQ(seen.text, L"\r\nmain_flow.cpp [12行]:エラー[75]");
  EXPECT_TRUE(seen.has_help);
  EXPECT_EQ(seen.owner, form());
}

}  // namespace
}  // namespace tav::test
