// The run's progress on the desktop's launcher, as a launcher on the
// session bus hears it (ctest runs this on a private bus of its own), and
// the same calls where there is no session bus.
#include <QApplication>
#include <QDBusConnection>
#include <QDeadlineTimer>
#include <QTimer>
#include <QVariantMap>
#include <vector>

#include "platform/qt/launcher_entry.h"
#include "qt_window_fixture.h"

namespace tav::test {
namespace {

struct Heard {
  QString uri;
  double progress;
  bool visible;
  bool urgent;
  bool operator==(const Heard&) const = default;
};

// A launcher: every launcher entry update on the bus, from any sender.
class Launcher : public QObject {
  Q_OBJECT

 public:
  explicit Launcher(QDBusConnection bus) {
    listening = bus.connect({}, {}, QString::fromLatin1(qt::kLauncherInterface),
                            QString::fromLatin1(qt::kLauncherSignal), this,
                            SLOT(update(QString, QVariantMap)));
  }

  // Waits until count updates have come (5 s at most).
  void wait_for(std::size_t count) {
    const QDeadlineTimer deadline(5000);
    while (heard.size() < count && !deadline.hasExpired()) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
  }

  bool listening = false;
  std::vector<Heard> heard;

 public slots:
  void update(const QString& uri, const QVariantMap& properties) {
    heard.push_back({uri, properties.value("progress").toDouble(),
                     properties.value("progress-visible").toBool(),
                     properties.value("urgent").toBool()});
  }
};

using LauncherProgress = QtWindowTest;

TEST_F(LauncherProgress, TheLauncherHearsTheRunOnTheSessionBus) {
  if (!QDBusConnection::sessionBus().isConnected()) {
    GTEST_SKIP() << "no session bus: ctest runs this test under dbus-run-session";
  }
  Launcher launcher(
      QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("launcher")));
  ASSERT_TRUE(launcher.listening);
  show_form();
  window.show_progress(Progress::Normal, 0.25);
  window.show_progress(Progress::Indeterminate, 0.25);  // the launcher has no moving bar
  window.show_progress(Progress::Normal, 2.0);
  QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
  window.show_error_report({"TAVRELON.EXE", "\r\nexecution.cpp [12行]:エラー[76]"});
  window.show_progress(Progress::None, 0.0);
  launcher.wait_for(4);
  const QString uri = QString::fromLatin1(qt::kLauncherAppUri);
  EXPECT_EQ(launcher.heard, (std::vector<Heard>{{uri, 0.25, true, false},
                                                {uri, 1.0, true, false},
                                                {uri, 1.0, true, true},
                                                {uri, 0.0, false, false}}));
}

TEST_F(LauncherProgress, WithoutASessionBusTheRunGoesOnAsBefore) {
  if (QDBusConnection::sessionBus().isConnected()) {
    GTEST_SKIP() << "a session bus: ctest runs this test where there is none";
  }
  show_form();
  window.show_progress(Progress::Normal, 0.5);
  window.show_progress(Progress::Indeterminate, 0.5);
  window.request_attention();
  window.show_progress(Progress::None, 0.0);
  window.set_text(Control::Text1, "処理完了！");
  EXPECT_EQ(window.get_text(Control::Text1), "処理完了！");
}

}  // namespace
}  // namespace tav::test

#include "launcher_entry_test.moc"
