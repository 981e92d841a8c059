// A run's progress on the desktop's launcher: the dock or panel entry of
// the program's desktop file shows a bar, through the launcher entry signal
// on the session bus. The signal has no moving bar: while a batch is
// flushed the bar stands where it is. The error state asks for attention
// ("urgent"). Without a session bus, or where no launcher listens, nothing
// shows and nothing fails.
#pragma once

#include <QString>
#include <QVariantMap>

#include "window/shown_progress.h"

namespace tav::qt {

inline constexpr char kLauncherInterface[] = "com.canonical.Unity.LauncherEntry";
inline constexpr char kLauncherSignal[] = "Update";
inline constexpr char kLauncherPath[] = "/com/canonical/unity/launcherentry/tavrelon";
inline constexpr char kLauncherAppUri[] = "application://tavrelon.desktop";

// The properties the signal carries for a progress.
QVariantMap launcher_properties(const ShownProgress& progress);

class LauncherEntry {
 public:
  // Sends the progress unless the launcher already shows the same.
  void show(const ShownProgress& progress);
  const ShownProgress& shown() const { return shown_; }

 private:
  ShownProgress shown_;
  QVariantMap sent_ = launcher_properties({});
};

}  // namespace tav::qt
