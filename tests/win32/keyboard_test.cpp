// Enter, Space, Tab and Ctrl+Z on the form, typed through the system's
// input; the form's command in its system menu.
#include <windows.h>

#include <initializer_list>

#include "support/win32/window/key_strokes.h"
#include "window_fixture.h"

namespace tav::test {
namespace {

class Keyboard : public WindowTest {
 protected:
  void open_in_front() {
    open();
    ::SetForegroundWindow(form());
  }

  // Key strokes: each key down, then each key up in reverse order.
  static void type(std::initializer_list<WORD> keys, bool release = true) {
    std::vector<INPUT> strokes;
    for (const WORD key : keys) strokes.push_back(key_stroke(key, false));
    if (release) {
      for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
        strokes.push_back(key_stroke(*key, true));
      }
    }
    send_strokes(strokes);
    ::Sleep(50);
  }

  static void release(WORD key) {
    send_strokes({key_stroke(key, true)});
    ::Sleep(50);
  }

  // A call of the between-steps processing that drains the messages.
  void pump() {
    ::Sleep(40);
    window->process_pending_events();
  }
};

TEST_F(Keyboard, EnterOnAButtonShowsItPressedThenClicksItOnRelease) {
  open_in_front();
  ::SetFocus(control(Control::Button2));
  type({VK_RETURN}, false);
  pump();
  EXPECT_TRUE(::SendMessageW(control(Control::Button2), BM_GETSTATE, 0, 0) & BST_PUSHED);
  release(VK_RETURN);
  window->wait_for_event();
  EXPECT_EQ(runs, (std::vector<std::string>{"BUTTON2_ON"}));
  EXPECT_FALSE(::SendMessageW(control(Control::Button2), BM_GETSTATE, 0, 0) & BST_PUSHED);
}

TEST_F(Keyboard, SpaceTogglesTheCheckBoxWithoutAnEvent) {
  open_in_front();
  window->set_enabled(Control::Check1, true);
  ::SetFocus(control(Control::Check1));
  type({VK_SPACE});
  pump();
  EXPECT_TRUE(window->is_checked(Control::Check1));
  type({VK_SPACE});
  pump();
  EXPECT_FALSE(window->is_checked(Control::Check1));
  EXPECT_TRUE(runs.empty());
}

TEST_F(Keyboard, TabSkipsDisabledAndHiddenControls) {
  open_in_front();
  ::SetFocus(control(Control::Button1));
  window->set_enabled(Control::Button2, false);
  window->set_visible(Control::Button3, false);
  type({VK_TAB});
  pump();
  EXPECT_EQ(::GetFocus(), control(Control::Button4));
  type({VK_SHIFT, VK_TAB});
  pump();
  EXPECT_EQ(::GetFocus(), control(Control::Button1));
}

TEST_F(Keyboard, CtrlTabInAnEditFieldLeavesTheFocusThere) {
  open_in_front();
  ::SetFocus(control(Control::Edit1));
  type({VK_CONTROL, VK_TAB});
  pump();
  EXPECT_EQ(::GetFocus(), control(Control::Edit1));
}

TEST_F(Keyboard, KeysOnADisabledFormAreSwallowed) {
  open_in_front();
  ::SetFocus(control(Control::Button4));
  ::EnableWindow(form(), FALSE);
  type({VK_RETURN});
  pump();
  ::EnableWindow(form(), TRUE);
  post_click(Control::Button1);
  window->wait_for_event();
  EXPECT_EQ(runs, (std::vector<std::string>{"BUTTON1_ON"}));
}

TEST_F(Keyboard, CtrlZAndTheSystemMenuItemSendTheUndoCommandOnce) {
  open_in_front();
  const HMENU menu = ::GetSystemMenu(form(), FALSE);
  const int last = ::GetMenuItemCount(menu) - 1;
  wchar_t text[64] = {};
  ::GetMenuStringW(menu, static_cast<UINT>(last), text, 64, MF_BYPOSITION);
  EXPECT_EQ(std::wstring(text), L"前回の処理を元に戻す(&U)...");
  ::PostMessageW(form(), WM_SYSCOMMAND, ::GetMenuItemID(menu, last), 0);
  window->wait_for_event();
  // In a text field too: the form's command, not the field's own undo.
  ::SetFocus(control(Control::Edit1));
  type({VK_CONTROL, 'Z'});
  pump();
  window->wait_for_event();
  EXPECT_EQ(runs, (std::vector<std::string>{"MAINFORM_UNDO", "MAINFORM_UNDO"}));
}

}  // namespace
}  // namespace tav::test
