// List box and combo box contents.
#include <windows.h>

#include <algorithm>
#include <random>

#include "window_fixture.h"

namespace tav::test {
namespace {

using ListOperations = WindowTest;

std::vector<std::string> items_of(Window& window, Control list) {
  std::vector<std::string> items;
  for (int row = 0;; ++row) {
    std::string item = window.list_item_text(list, row);
    if (item.empty()) return items;
    items.push_back(std::move(item));
  }
}

// Lines like the work lists': mixed case, Japanese, digits, marks.
std::vector<std::string> sample_lines() {
  std::vector<std::string> lines{
      "(更新) \\Data\\b.txt      1", "(作成) \\data\\A.txt      2", "(更新) \\データ\\表.doc  3",
      "(作成) \\Data\\a.txt      4", "(更新) \\data\\_x         5", "(作成) \\ﾃﾞｰﾀ\\k         6",
      "(更新) \\DATA\\b.txt      7", "(作成) \\Data\\10.txt     8", "(作成) \\Data\\9.txt      9",
  };
  std::shuffle(lines.begin(), lines.end(), std::mt19937(7));
  return lines;
}

TEST_F(ListOperations, AFilledSortedListEqualsOneAddPerLine) {
  open();
  const std::vector<std::string> lines = sample_lines();
  const std::string later = "(作成) \\Data\\a.txt      0";
  for (const std::string& line : lines) window->list_add(Control::List1, line);
  window->list_add(Control::List1, later);
  const std::vector<std::string> one_by_one = items_of(*window, Control::List1);

  // A single add after a fill still lands at its sorted place.
  window->list_fill(Control::List1, lines);
  window->list_add(Control::List1, later);
  EXPECT_EQ(items_of(*window, Control::List1), one_by_one);
  std::vector<std::string> in_adding_order = lines;
  in_adding_order.push_back(later);
  EXPECT_NE(one_by_one, in_adding_order);  // the list box did sort them
}

TEST_F(ListOperations, UnsortedListsKeepTheOrderOfAdding) {
  open();
  const std::vector<std::string> lines = sample_lines();
  window->list_fill(Control::List2, lines);
  EXPECT_EQ(items_of(*window, Control::List2), lines);
  window->list_add(Control::List2, "a");
  EXPECT_EQ(window->list_item_text(Control::List2, static_cast<int>(lines.size())), "a");

  window->list_fill(Control::Combo1, {"Z: 固定ディスク", "C: 固定ディスク"});
  EXPECT_EQ(window->list_item_text(Control::Combo1, 0), "Z: 固定ディスク");
  EXPECT_EQ(window->list_selected_index(Control::Combo1), -1);
  EXPECT_EQ(window->get_text(Control::Combo1), "");  // the edit field is not touched
}

TEST_F(ListOperations, RowsOutsideTheListReadAsEmpty) {
  open();
  window->list_fill(Control::List2, {"one", "two"});
  EXPECT_EQ(window->list_item_text(Control::List2, -1), "");
  EXPECT_EQ(window->list_item_text(Control::List2, 2), "");
  EXPECT_EQ(window->list_item_text(Control::List2, 1), "two");
  EXPECT_EQ(window->list_selected_index(Control::List2), -1);
  window->list_clear(Control::List2);
  EXPECT_EQ(window->list_item_text(Control::List2, 0), "");
}

TEST_F(ListOperations, AFillLeavesRedrawingOn) {
  open();
  window->list_fill(Control::List1, sample_lines());
  // Redrawing turned off takes a window's visible mark away until it is
  // turned on again.
  EXPECT_TRUE(::IsWindowVisible(control(Control::List1)));
}

}  // namespace
}  // namespace tav::test
