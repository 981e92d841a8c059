#include "qt_window_fixture.h"

#include <QApplication>
#include <QTest>

#include "platform/qt/line_list_box.h"

namespace tav::test {

qt::ProcessExit test_exit() {
  return [](int exit_code) { throw ProgramEnded{exit_code}; };
}

QtWindowTest::QtWindowTest() : window(main_form(), test_exit()) {
  window.bind_procedures(procedures());
}

void QtWindowTest::show_form() {
  window.set_visible(Control::MainForm, true);
  QApplication::processEvents();
}

void double_click_row(qt::LineListBox& box, int row) {
  const QPoint centre = box.row_rect(row).center();
  // The first click of the gesture, then the second as a double-click.
  QTest::mouseClick(box.viewport(), Qt::LeftButton, {}, centre);
  QTest::mouseDClick(box.viewport(), Qt::LeftButton, {}, centre);
}

void QtWindowTest::double_click_row(Control list, int row) {
  test::double_click_row(control<qt::LineListBox>(list), row);
}

}  // namespace tav::test
