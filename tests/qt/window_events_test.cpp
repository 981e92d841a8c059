// The event model of the Qt window: handlers only queue, a wait runs one
// procedure, the between-steps processing runs none, and a closed window
// stays until either call ends the program.
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "qt_window_fixture.h"

namespace tav::test {
namespace {

using Events = QtWindowTest;

// A click that arrives through the event loop, as the user's clicks do.
void post_click(QAbstractButton& button) {
  QMetaObject::invokeMethod(&button, "click", Qt::QueuedConnection);
}

TEST_F(Events, ClicksQueuedMeanwhileAreServedOnePerWaitOldestFirst) {
  show_form();
  QTest::mouseClick(&control<QPushButton>(Control::Button3), Qt::LeftButton);
  QTest::mouseClick(&control<QCheckBox>(Control::Check1), Qt::LeftButton);  // no procedure
  QTest::mouseClick(&control<QPushButton>(Control::Button4), Qt::LeftButton);
  QTest::keyClicks(&control<QLineEdit>(Control::Edit1), "x");                // no procedure
  QTest::mouseClick(&control<QPushButton>(Control::Button1), Qt::LeftButton);
  EXPECT_TRUE(runs.empty());  // handlers only queue
  EXPECT_EQ(window.pending_events(), 3u);

  window.wait_for_event();
  EXPECT_EQ(runs, (std::vector<std::string>{"BUTTON3_ON"}));
  window.wait_for_event();
  window.wait_for_event();
  EXPECT_EQ(runs, (std::vector<std::string>{"BUTTON3_ON", "BUTTON4_ON", "BUTTON1_ON"}));
  EXPECT_TRUE(control<QCheckBox>(Control::Check1).isChecked());
}

TEST_F(Events, AnEmptyQueueWaitsForTheUsersNextEvent) {
  show_form();
  QTimer::singleShot(20, [this] {
    QTest::mouseClick(&control<QCheckBox>(Control::Check1), Qt::LeftButton);  // no procedure
    EXPECT_TRUE(window.waiting());
  });
  QTimer::singleShot(40, [this] {
    QTest::mouseClick(&control<QPushButton>(Control::Button2), Qt::LeftButton);
  });
  window.wait_for_event();
  EXPECT_EQ(runs, (std::vector<std::string>{"BUTTON2_ON"}));
  EXPECT_FALSE(window.waiting());
}

TEST_F(Events, BetweenStepsEventsAreQueuedAndNothingRuns) {
  show_form();
  post_click(control<QPushButton>(Control::Button4));
  window.process_pending_events();  // the first call processes
  EXPECT_EQ(window.pending_events(), 1u);
  EXPECT_TRUE(runs.empty());
}

TEST_F(Events, ClosingTheWindowWhileTheFlowWaitsEndsTheProgram) {
  show_form();
  QTimer::singleShot(10, [this] { window.widget(Control::MainForm)->close(); });
  EXPECT_EQ(exit_code_of([this] { window.wait_for_event(); }), 0);
  EXPECT_TRUE(runs.empty());
  EXPECT_FALSE(window.widget(Control::MainForm)->isVisible());
}

TEST_F(Events, AClosedWindowEndsTheNextWaitEvenWithEventsQueued) {
  show_form();
  QTest::mouseClick(&control<QPushButton>(Control::Button4), Qt::LeftButton);
  window.widget(Control::MainForm)->close();
  EXPECT_EQ(exit_code_of([this] { window.wait_for_event(); }), 0);
  EXPECT_TRUE(runs.empty());
}

TEST_F(Events, ClosingTheWindowWhileTheFlowWorksEndsItAtTheNextDrainAndNotBefore) {
  show_form();
  window.widget(Control::MainForm)->close();
  // The window stays, and the flow goes on using its controls, until the
  // next drain meets the close.
  EXPECT_TRUE(window.widget(Control::MainForm)->isVisible());
  window.set_text(Control::Text1, "a step");
  EXPECT_EQ(window.get_text(Control::Text1), "a step");
  EXPECT_EQ(exit_code_of([this] { window.process_pending_events(); }), 0);
  EXPECT_FALSE(window.widget(Control::MainForm)->isVisible());
}

TEST_F(Events, ADoubleClickSelectsTheRowUnderThePointerThenDelivers) {
  show_form();
  window.list_fill(Control::List1, {"c", "a", "d", "b"});
  window.list_fill(Control::List2, {"z", "y"});
  double_click_row(Control::List1, 2);
  EXPECT_EQ(window.list_selected_index(Control::List1), 2);
  double_click_row(Control::List2, 1);
  double_click_row(Control::List1, 0);  // another row than the selected one
  EXPECT_EQ(window.list_selected_index(Control::List1), 0);
  EXPECT_EQ(window.list_selected_index(Control::List2), 1);
  EXPECT_EQ(window.list_item_text(Control::List2, 1), "y");

  // Only the double-clicks have procedures: the gestures' clicks and
  // selection changes were dropped.
  EXPECT_EQ(window.pending_events(), 3u);
  for (int i = 0; i < 3; ++i) window.wait_for_event();
  EXPECT_EQ(runs, (std::vector<std::string>{"LIST1_DBLCLICK", "LIST2_DBLCLICK", "LIST1_DBLCLICK"}));
}

TEST_F(Events, EnterOnTheFocusedButtonClicksItAsTheMouseDoes) {
  show_form();
  auto& button = control<QPushButton>(Control::Button2);
  button.setFocus();
  QTest::keyClick(&button, Qt::Key_Return);
  QTest::keyClick(&button, Qt::Key_Space);
  window.wait_for_event();
  window.wait_for_event();
  EXPECT_EQ(runs, (std::vector<std::string>{"BUTTON2_ON", "BUTTON2_ON"}));
}

TEST_F(Events, TheUndoCommandIsTheFormsMenuItemAndCtrlZEvenInATextField) {
  show_form();
  QWidget& form = *window.widget(Control::MainForm);
  ASSERT_EQ(form.actions().size(), 1);
  EXPECT_EQ(form.actions()[0]->text().toStdString(), "前回の処理を元に戻す(&U)...");
  EXPECT_EQ(form.contextMenuPolicy(), Qt::ActionsContextMenu);
  form.actions()[0]->trigger();
  auto& edit = control<QLineEdit>(Control::Edit1);
  edit.setFocus();
  QTest::keyClicks(&edit, "ab");
  QTest::keyClick(&edit, Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(edit.text().toStdString(), "ab");  // not the field's own undo
  window.wait_for_event();
  window.wait_for_event();
  EXPECT_EQ(runs, (std::vector<std::string>{"MAINFORM_UNDO", "MAINFORM_UNDO"}));
}

}  // namespace
}  // namespace tav::test
