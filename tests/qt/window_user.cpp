#include "window_user.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>

#include "qt_window_fixture.h"

namespace tav::test {

WindowUser::WindowUser(qt::QtWindow& window) : window_(window) {
  timer_.setInterval(5);
  QObject::connect(&timer_, &QTimer::timeout, [this] { tick(); });
  timer_.start();
}

WindowUser& WindowUser::type(Control edit, std::string text) {
  actions_.push_back([this, edit, text] {
    auto* field = static_cast<QLineEdit*>(window_.widget(edit));
    field->selectAll();
    QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString::fromStdString(text),
                        Qt::NoModifier);
  });
  return *this;
}

WindowUser& WindowUser::choose_drive(std::string entry) {
  actions_.push_back([this, entry] {
    auto* combo = static_cast<QComboBox*>(window_.widget(Control::Combo1));
    const int index = combo->findText(QString::fromStdString(entry));
    ASSERT_GE(index, 0) << entry;
    combo->setCurrentIndex(index);
  });
  return *this;
}

WindowUser& WindowUser::click(Control button) {
  actions_.push_back([this, button] {
    QTest::mouseClick(static_cast<QAbstractButton*>(window_.widget(button)), Qt::LeftButton);
  });
  return *this;
}

WindowUser& WindowUser::press_undo_key() {
  actions_.push_back([this] {
    auto* field = window_.widget(Control::Edit1);
    field->setFocus();
    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
  });
  return *this;
}

WindowUser& WindowUser::double_click(Control list, std::string text_start) {
  actions_.push_back([this, list, text_start] {
    auto& box = *static_cast<qt::LineListBox*>(window_.widget(list));
    int row = 0;
    while (row < box.count() && !box.line(row).starts_with(text_start)) ++row;
    ASSERT_LT(row, box.count()) << text_start;
    double_click_row(box, row);
  });
  return *this;
}

WindowUser& WindowUser::answer(Answer answer) {
  answers_.push_back(answer);
  return *this;
}

bool WindowUser::answer_box() {
  auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
  if (!box || !box->isVisible()) return false;
  boxes_.push_back(box->text().toStdString());
  const Answer answer = answers_.empty() ? Answer::Ok : answers_.front();
  if (!answers_.empty()) answers_.pop_front();
  const QString wanted = answer == Answer::Cancel ? QStringLiteral("キャンセル") : QStringLiteral("OK");
  for (auto* button : box->buttons()) {
    if (button->text() == wanted) button->click();
  }
  return true;
}

void WindowUser::tick() {
  if (answer_box()) return;
  if (!window_.waiting() || window_.pending_events() > 0 || actions_.empty()) return;
  const auto action = actions_.front();
  actions_.pop_front();
  action();
}

}  // namespace tav::test
