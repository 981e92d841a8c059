#include "platform/qt/form_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <algorithm>

namespace tav::qt {

QSize client_size_of(int outer_width, int outer_height) {
  return {std::max(outer_width - 2 * kFrameBorder, 1),
          std::max(outer_height - 2 * kFrameBorder - kTitleBar, 1)};
}

FormWindow::FormWindow(std::function<void()> on_close)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint),
      on_close_(std::move(on_close)) {}

void FormWindow::set_outer_size(int width, int height) {
  setFixedSize(client_size_of(width, height));
}

void FormWindow::centre_outer(int width, int height) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QRect area = screen ? screen->geometry() : QRect(0, 0, width, height);
  move(area.x() + area.width() / 2 - width / 2, area.y() + area.height() / 2 - height / 2);
}

namespace {

const QKeySequence kCommandKey(Qt::CTRL | Qt::Key_Z);

}  // namespace

void FormWindow::add_command(const QString& text, std::function<void()> run) {
  auto* command = new QAction(text, this);
  command->setShortcut(kCommandKey);
  command->setShortcutContext(Qt::WindowShortcut);
  connect(command, &QAction::triggered, this, [run = std::move(run)] { run(); });
  addAction(command);
  setContextMenuPolicy(Qt::ActionsContextMenu);
  // Text fields take Ctrl+Z for their own undo before any shortcut: the
  // form asks them not to.
  QApplication::instance()->installEventFilter(this);
}

bool FormWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::ShortcutOverride) {
    auto* widget = qobject_cast<QWidget*>(watched);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (widget && widget != this && widget->window() == this &&
        QKeySequence(key->keyCombination()) == kCommandKey) {
      event->ignore();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

// The window stays on the screen until the program ends, so that it never
// disappears while the program still writes.
void FormWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  on_close_();
}

}  // namespace tav::qt
