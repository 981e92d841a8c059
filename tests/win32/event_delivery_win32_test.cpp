// Clicks become events, events wait in the queue, and procedures run only
// inside wait_for_event; closing the form ends the program.
#include <windows.h>

#include <stdexcept>

#include "errors/runtime_error.h"
#include "window_fixture.h"

namespace tav::test {
namespace {

using EventDeliveryWin32 = WindowTest;

TEST_F(EventDeliveryWin32, ClicksMadeWhileBusyAreServedOnePerWaitOldestFirst) {
  open();
  post_click(Control::Button3);
  post_click(Control::Button4);
  post_click(Control::Button1);
  window->process_pending_events();  // the first call drains the messages
  EXPECT_TRUE(runs.empty());          // but runs no procedure
  window->wait_for_event();
  EXPECT_EQ(runs, (std::vector<std::string>{"BUTTON3_ON"}));
  window->wait_for_event();
  window->wait_for_event();
  EXPECT_EQ(runs, (std::vector<std::string>{"BUTTON3_ON", "BUTTON4_ON", "BUTTON1_ON"}));
}

TEST_F(EventDeliveryWin32, EventsWithoutAProcedureAreNotDelivered) {
  open();
  window->set_enabled(Control::Check1, true);
  post_click(Control::Check1);  // toggles, but CHECK1 has no procedure
  window->list_fill(Control::List1, {"b", "a"});
  // The first click of a double-click selects the row (a change and a
  // click, neither with a procedure); the second is the double-click.
  RECT row{};
  ::SendMessageW(control(Control::List1), LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&row));
  const LPARAM at = MAKELPARAM(row.left + 4, row.top + 2);
  for (const UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
    ::PostMessageW(control(Control::List1), message,
                   message == WM_LBUTTONUP ? 0 : MK_LBUTTON, at);
  }
  window->wait_for_event();
  EXPECT_EQ(runs, (std::vector<std::string>{"LIST1_DBLCLICK"}));
  EXPECT_TRUE(window->is_checked(Control::Check1));
  EXPECT_EQ(window->list_selected_index(Control::List1), 1);
  EXPECT_EQ(window->list_item_text(Control::List1, 1), "b");
}

TEST_F(EventDeliveryWin32, AnExceptionInsideTheWindowProcedureReachesTheCaller) {
  EventProcedures with = procedures();
  with.push_back({"MAINFORM_QUERYCLOSE", [](Control) { throw std::runtime_error("close"); }});
  open(std::move(with));
  ::PostMessageW(form(), WM_CLOSE, 0, 0);
  EXPECT_THROW(window->process_pending_events(), std::runtime_error);
}

TEST_F(EventDeliveryWin32, ListOperationsOnOtherKindsAreRuntimeErrors) {
  open();
  try {
    window->list_add(Control::Edit1, "x");
    FAIL() << "no error";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.number(), 1002);
    EXPECT_EQ(error.detail(), 0x80000101u);
  }
  EXPECT_THROW(window->is_checked(Control::Button1), RuntimeError);
}

using EventDeliveryWin32DeathTest = WindowTest;

TEST_F(EventDeliveryWin32DeathTest, ClosingTheFormWhileWaitingEndsTheProgram) {
  EXPECT_EXIT(
      {
        open();
        ::PostMessageW(form(), WM_CLOSE, 0, 0);
        window->wait_for_event();
        std::exit(3);  // not reached
      },
      ::testing::ExitedWithCode(0), "");
}

TEST_F(EventDeliveryWin32DeathTest, ClosingTheFormWhileBusyEndsTheProgramAtTheNextDrain) {
  EXPECT_EXIT(
      {
        open();
        ::PostMessageW(form(), WM_CLOSE, 0, 0);
        window->process_pending_events();  // the first call drains
        std::exit(3);  // not reached
      },
      ::testing::ExitedWithCode(0), "");
}

TEST_F(EventDeliveryWin32DeathTest, EndProgramExitsWithTheCodeGiven) {
  EXPECT_EXIT(
      {
        open();
        post_click(Control::Button1);
        window->end_program(5);
      },
      ::testing::ExitedWithCode(5), "");
}

}  // namespace
}  // namespace tav::test
