#include "platform/qt/widget_text.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "platform/qt/qt_text.h"

namespace tav::qt {

void set_widget_text(QWidget& widget, std::string_view text) {
  const QString value = qt_text(text);
  if (auto* button = qobject_cast<QAbstractButton*>(&widget)) {
    button->setText(value);
  } else if (auto* edit = qobject_cast<QLineEdit*>(&widget)) {
    edit->setText(value);
  } else if (auto* label = qobject_cast<QLabel*>(&widget)) {
    label->setText(value);
  } else if (auto* combo = qobject_cast<QComboBox*>(&widget)) {
    combo->setEditText(value);
  } else {
    widget.setWindowTitle(value);
  }
}

std::string widget_text(const QWidget& widget) {
  QString value;
  if (const auto* button = qobject_cast<const QAbstractButton*>(&widget)) {
    value = button->text();
  } else if (const auto* edit = qobject_cast<const QLineEdit*>(&widget)) {
    value = edit->text();
  } else if (const auto* label = qobject_cast<const QLabel*>(&widget)) {
    value = label->text();
  } else if (const auto* combo = qobject_cast<const QComboBox*>(&widget)) {
    value = combo->currentText();
  } else {
    value = widget.windowTitle();
  }
  return value.toStdString();
}

}  // namespace tav::qt
