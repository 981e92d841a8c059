// The list operations on a list box (its view and lines) or on the list of
// the combo box.
#pragma once

#include <string>
#include <string_view>
#include <vector>

class QComboBox;

namespace tav::qt {

class LineListBox;

// A list box, or the combo box.
struct ListTarget {
  LineListBox* box = nullptr;
  QComboBox* combo = nullptr;
};

void list_clear(const ListTarget& list);
void list_add(const ListTarget& list, std::string_view text);
// Replaces the whole content at once: one sort, one repaint.
void list_fill(const ListTarget& list, const std::vector<std::string>& lines);
// Empty outside the list.
std::string list_item_text(const ListTarget& list, int row);
// -1 when nothing is selected.
int list_selected_index(const ListTarget& list);

}  // namespace tav::qt
