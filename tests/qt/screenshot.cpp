// Saves a PNG picture of the Linux window right after start-up, for a
// person to look at: the real program's start-up with the mounted volumes in
// the drive list, run in a fresh current folder so that no settings file of
// the user's shows. Drawn by the X server when a display is set.
#include <QApplication>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <iostream>

#include "app/main_form.h"
#include "platform/drives.h"
#include "platform/qt/qt_window.h"
#include "support/current_folder.h"
#include "support/scripted_window.h"

namespace {

QPixmap picture_of(QWidget& form) {
  if (!QTest::qWaitForWindowExposed(&form)) std::cerr << "the window was not exposed\n";
  QTest::qWait(200);  // its first paint
  if (QGuiApplication::platformName() == "xcb") {
    return form.screen()->grabWindow(form.winId());
  }
  return form.grab();
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::cerr << "usage: tavrelon_qt_screenshot PICTURE.png\n";
    return 2;
  }
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM") && !qEnvironmentVariableIsSet("DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication application(argc, argv);
  const std::filesystem::path picture = std::filesystem::absolute(argv[1]);
  std::filesystem::create_directories(picture.parent_path());

  tav::test::InTemporaryFolder here;
  tav::qt::QtWindow window(tav::main_form(),
                           [](int exit_code) { throw tav::test::ProgramEnded{exit_code}; });
  bool saved = false;
  QTimer camera;
  QObject::connect(&camera, &QTimer::timeout, [&] {
    if (!window.waiting() || saved) return;
    QWidget& form = *window.widget(tav::Control::MainForm);
    saved = picture_of(form).save(QString::fromStdString(picture.string()), "PNG");
    form.close();
  });
  camera.start(10);
  tav::test::run_to_end(window, tav::list_drives(), "tavrelon");
  std::cout << (saved ? "saved " : "could not save ") << picture.string() << " ("
            << QGuiApplication::platformName().toStdString() << ")\n";
  return saved ? 0 : 1;
}
