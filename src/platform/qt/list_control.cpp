#include "platform/qt/list_control.h"

#include <QComboBox>

#include "platform/qt/line_list_box.h"
#include "platform/qt/qt_text.h"

namespace tav::qt {

namespace {

// Adds to the combo box's list without choosing the item: the edit field
// keeps its text, as it does in the list of a drop-down combo box.
void combo_add(QComboBox& combo, std::string_view text) {
  const int current = combo.currentIndex();
  const QString shown = combo.currentText();
  combo.addItem(qt_text(text));
  if (current < 0 && combo.currentIndex() >= 0) {
    combo.setCurrentIndex(-1);
    combo.setEditText(shown);
  }
}

}  // namespace

void list_clear(const ListTarget& list) {
  if (list.box) {
    list.box->clear();
  } else {
    list.combo->clear();
  }
}

void list_add(const ListTarget& list, std::string_view text) {
  if (list.box) {
    list.box->add(text);
  } else {
    combo_add(*list.combo, text);
  }
}

void list_fill(const ListTarget& list, const std::vector<std::string>& lines) {
  if (list.box) {
    list.box->fill(lines);
    return;
  }
  list.combo->clear();
  for (const auto& line : lines) combo_add(*list.combo, line);
}

std::string list_item_text(const ListTarget& list, int row) {
  if (list.box) return list.box->line(row);
  if (row < 0 || row >= list.combo->count()) return {};
  return list.combo->itemText(row).toStdString();
}

int list_selected_index(const ListTarget& list) {
  return list.box ? list.box->selected() : list.combo->currentIndex();
}

}  // namespace tav::qt
