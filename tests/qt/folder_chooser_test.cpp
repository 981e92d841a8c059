// The folder chooser behind BUTTON1: the chosen folder or nothing, with the
// form clickable meanwhile, and the form's closing ending the program.
#include <QApplication>
#include <QFileDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>

#include "qt_window_fixture.h"
#include "support/temp_tree.h"

namespace tav::test {
namespace {

class FolderChooser : public QtWindowTest {
 protected:
  // Once the chooser is open, act on it.
  void when_open(std::function<void(QFileDialog&)> act) {
    auto* poll = new QTimer(window.widget(Control::MainForm));
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
      for (QWidget* top : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QFileDialog*>(top);
        if (!dialog || !dialog->isVisible()) continue;
        poll->deleteLater();
        poll->stop();
        act(*dialog);
        return;
      }
    });
    poll->start(5);
  }
};

TEST_F(FolderChooser, YieldsTheChosenFolderInUtf8) {
  TempTree tree;
  tree.folder("写真 2024");
  const std::string chosen = tree.path("写真 2024");
  show_form();
  when_open([&chosen](QFileDialog& dialog) {
    dialog.setDirectory(QString::fromStdString(chosen));
    static_cast<QDialog&>(dialog).accept();
  });
  EXPECT_EQ(window.browse_for_folder(), chosen);
}

TEST_F(FolderChooser, CancellingYieldsNothingAndTheFormsClicksWereQueued) {
  show_form();
  when_open([this](QFileDialog& dialog) {
    // The chooser has no owner: the form takes clicks meanwhile.
    QTest::mouseClick(&control<QPushButton>(Control::Button3), Qt::LeftButton);
    dialog.reject();
  });
  EXPECT_EQ(window.browse_for_folder(), "");
  EXPECT_EQ(window.pending_events(), 1u);
  EXPECT_TRUE(runs.empty());
}

TEST_F(FolderChooser, ClosingTheFormMeanwhileEndsTheProgram) {
  show_form();
  when_open([this](QFileDialog&) { window.widget(Control::MainForm)->close(); });
  EXPECT_EQ(exit_code_of([this] { window.browse_for_folder(); }), 0);
  for (QWidget* top : QApplication::topLevelWidgets()) {
    EXPECT_FALSE(qobject_cast<QFileDialog*>(top) && top->isVisible());
  }
}

}  // namespace
}  // namespace tav::test
