// The message boxes of the Qt window: icons, Japanese buttons in the
// original order, OK the default, Esc answering Cancel where there is one.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "qt_window_fixture.h"

namespace tav::test {
namespace {

struct SeenBox {
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QStringList buttons;  // in the order shown
  QString default_button;
};

class MessageBoxes : public QtWindowTest {
 protected:
  // Once the box is open: records it and lets act answer it.
  void when_open(std::function<void(QMessageBox&)> act) {
    QTimer::singleShot(0, [this, act] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      seen = {box->windowTitle(), box->text(), box->icon(), {}, {}};
      auto buttons = box->buttons();
      std::sort(buttons.begin(), buttons.end(), [](QAbstractButton* a, QAbstractButton* b) {
        return a->mapToGlobal(QPoint()).x() < b->mapToGlobal(QPoint()).x();
      });
      for (auto* button : buttons) seen.buttons << button->text();
      if (box->defaultButton()) seen.default_button = box->defaultButton()->text();
      act(*box);
    });
  }

  static void press(QMessageBox& box, Qt::Key key) { QTest::keyClick(&box, key); }
  static void click(QMessageBox& box, const QString& text) {
    for (auto* button : box.buttons()) {
      if (button->text() == text) return button->click();
    }
    ADD_FAILURE() << "no button " << text.toStdString();
  }

  SeenBox seen;
};

TEST_F(MessageBoxes, ACarriageReturnEndsALineAsOnWindows) {
  show_form();
  when_open([](QMessageBox& box) { press(box, Qt::Key_Return); });
  window.message_box("移動先の確認", "見出し\r\rp/a（使えない文字）\rp/b", Buttons::Ok, Icon::Exclamation);
  EXPECT_EQ(seen.text.toStdString(), "見出し\n\np/a（使えない文字）\np/b");
}

TEST_F(MessageBoxes, TheConfirmationBoxAsksWithOkAndCancel) {
  show_form();
  when_open([](QMessageBox& box) { press(box, Qt::Key_Return); });
  EXPECT_EQ(window.message_box("確認", "取り消しますか？", Buttons::OkCancel, Icon::Question),
            Answer::Ok);
  EXPECT_EQ(seen.title.toStdString(), "確認");
  EXPECT_EQ(seen.text.toStdString(), "取り消しますか？");
  EXPECT_EQ(seen.icon, QMessageBox::Question);
  EXPECT_EQ(seen.buttons, (QStringList{"OK", "キャンセル"}));
  EXPECT_EQ(seen.default_button.toStdString(), "OK");

  when_open([](QMessageBox& box) { press(box, Qt::Key_Escape); });
  EXPECT_EQ(window.message_box("確認", "x", Buttons::OkCancel, Icon::Question), Answer::Cancel);
  when_open([](QMessageBox& box) { click(box, "キャンセル"); });
  EXPECT_EQ(window.message_box("確認", "x", Buttons::OkCancel, Icon::Question), Answer::Cancel);
}

TEST_F(MessageBoxes, EscInABoxWithOkAloneAnswersOkAndIsIgnoredWithoutCancel) {
  show_form();
  when_open([](QMessageBox& box) { press(box, Qt::Key_Escape); });
  EXPECT_EQ(window.message_box("t", "m", Buttons::Ok, Icon::Information), Answer::Ok);

  when_open([](QMessageBox& box) {
    press(box, Qt::Key_Escape);
    EXPECT_TRUE(box.isVisible());
    click(box, "はい(&Y)");
  });
  EXPECT_EQ(window.message_box("t", "m", Buttons::YesNo, Icon::Question), Answer::Yes);
}

TEST_F(MessageBoxes, TheErrorReportsHelpButtonLeavesItOpen) {
  show_form();
  bool open_after_help = false;
  when_open([&open_after_help](QMessageBox& box) {
    click(box, "ヘルプ(&H)");
    open_after_help = box.isVisible();
    click(box, "OK");
  });
  window.show_error_report({"tavrelon.EXE", "\r\nmain_flow.cpp [12行]:エラー[53]\nファイルが見つかりません。"});
  EXPECT_TRUE(open_after_help);
  EXPECT_EQ(seen.title.toStdString(), "tavrelon.EXE");
  EXPECT_EQ(seen.text.toStdString(), "\nmain_flow.cpp [12行]:エラー[53]\nファイルが見つかりません。");
  EXPECT_EQ(seen.icon, QMessageBox::Warning);
  EXPECT_EQ(seen.buttons, (QStringList{"OK", "ヘルプ(&H)"}));
}

}  // namespace
}  // namespace tav::test
