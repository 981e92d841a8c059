#include "qt_window_fixture.h"

#include <QApplication>
#include <QTest>

#include "platform/qt/line_list_box.h"

namespace tav::test {

qt::ProcessExit test_exit() {
  return [](int exit_code) { throw ProgramEnded{exit_code}; };
}

QtWindowTest::QtWindowTest() : window(main_form(), test_exit()) {
  window.bind_procedures(recording_procedures());
}

EventProcedures QtWindowTest::recording_procedures() {
  EventProcedures procedures;
  for (const std::string_view name : {"BUTTON1_ON", "BUTTON2_ON", "BUTTON3_ON", "BUTTON4_ON",
                                      "LIST1_DBLCLICK", "LIST2_DBLCLICK"}) {
    procedures.push_back({name, [this, name](Control) { runs.emplace_back(name); }});
  }
  return procedures;
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
