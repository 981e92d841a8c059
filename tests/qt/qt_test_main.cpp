// The Qt tests run in one QApplication, on the offscreen platform unless
// the environment chooses another.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdio>

namespace {

// The offscreen platform cannot pass size hints to a window manager it does
// not have, and says so for every dialog: that is no news to a test.
QtMessageHandler previous_handler = nullptr;

void quiet_offscreen(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.contains(QStringLiteral("propagateSizeHints"))) return;
  if (previous_handler) {
    previous_handler(type, context, message);
  } else {
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
  }
}

}  // namespace

int main(int argc, char* argv[]) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  testing::InitGoogleTest(&argc, argv);
  previous_handler = qInstallMessageHandler(quiet_offscreen);
  QApplication application(argc, argv);
  return RUN_ALL_TESTS();
}
