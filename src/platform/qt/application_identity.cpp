#include "platform/qt/application_identity.h"

#include <QApplication>
#include <QIcon>

namespace tav::qt {

void present_application() {
  QCoreApplication::setApplicationName(QStringLiteral("tavrelon"));
  QGuiApplication::setDesktopFileName(QStringLiteral("tavrelon"));
  QIcon icon;
  for (const int size : {16, 32, 48, 256}) {
    icon.addFile(QStringLiteral(":/tavrelon/tavrelon-%1.png").arg(size), QSize(size, size));
  }
  QApplication::setWindowIcon(icon);
}

}  // namespace tav::qt
