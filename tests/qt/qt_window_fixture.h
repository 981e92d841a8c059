// The Qt window layer in the test process: the real form with procedures
// that record what ran, and an end of the program that throws instead of
// ending the process.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_form.h"
#include "platform/qt/line_list_box.h"
#include "platform/qt/qt_window.h"
#include "support/recorded_procedures.h"
#include "support/scripted_window.h"

namespace tav::test {

// A double-click on a row of a list box, as the mouse makes it.
void double_click_row(qt::LineListBox& box, int row);

// An end of the program that throws ProgramEnded.
qt::ProcessExit test_exit();

class QtWindowTest : public testing::Test, protected RecordedProcedures {
 protected:
  QtWindowTest();

  template <typename Widget>
  Widget& control(Control id) {
    return *static_cast<Widget*>(window.widget(id));
  }
  // Shows the form and lays out its lists, as start-up leaves them.
  void show_form();
  // A double-click on a row of a list box, as the mouse makes it.
  void double_click_row(Control list, int row);

  qt::QtWindow window;
};

}  // namespace tav::test
