#include "platform/qt/launcher_entry.h"

#include <QDBusConnection>
#include <QDBusMessage>

namespace tav::qt {

QVariantMap launcher_properties(const ShownProgress& progress) {
  return {
      {QStringLiteral("progress"), progress.fraction},
      {QStringLiteral("progress-visible"), progress.state != Progress::None},
      {QStringLiteral("urgent"), progress.state == Progress::Error},
  };
}

void LauncherEntry::show(const ShownProgress& progress) {
  shown_ = progress;
  QVariantMap properties = launcher_properties(progress);
  if (properties == sent_) return;
  sent_ = properties;
  // The bus is looked up at the first progress, not at start-up.
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return;
  QDBusMessage update = QDBusMessage::createSignal(
      QString::fromLatin1(kLauncherPath), QString::fromLatin1(kLauncherInterface),
      QString::fromLatin1(kLauncherSignal));
  update << QString::fromLatin1(kLauncherAppUri) << properties;
  bus.send(update);
}

}  // namespace tav::qt
