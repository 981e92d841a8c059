#include "platform/qt/folder_chooser.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFileDialog>

namespace tav::qt {

std::string choose_folder(const std::function<bool()>& give_up) {
  QFileDialog dialog;
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly, true);
  dialog.setWindowModality(Qt::NonModal);
  bool answered = false;
  QObject::connect(&dialog, &QDialog::finished, [&answered] { answered = true; });
  dialog.show();
  while (!answered && !give_up()) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  if (!answered) dialog.reject();
  const QStringList chosen = dialog.selectedFiles();
  if (dialog.result() != QDialog::Accepted || chosen.isEmpty()) return {};
  return chosen.front().toStdString();
}

}  // namespace tav::qt
