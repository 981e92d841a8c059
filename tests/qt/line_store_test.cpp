// The lines of a list box in their blocks: every row reads back in the
// order a single sorted (or unsorted) array would give, across block splits.
#include "platform/qt/line_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace tav::qt {
namespace {

std::vector<std::string> rows_of(const LineStore& store) {
  std::vector<std::string> rows;
  for (int row = 0; row < store.size(); ++row) rows.push_back(store.at(row));
  return rows;
}

// Lines with many equal ones, so that equal lines meet at block edges.
std::vector<std::string> random_lines(int count, unsigned seed) {
  std::mt19937 random(seed);
  std::vector<std::string> lines;
  for (int i = 0; i < count; ++i) lines.push_back("(作成) /d/" + std::to_string(random() % 700));
  return lines;
}

TEST(LineStore, AddedLinesTakeTheirSortedPlaceAfterTheirEquals) {
  LineStore store(true);
  std::vector<std::string> reference;
  for (const auto& line : random_lines(5000, 1)) {
    const auto at = std::upper_bound(reference.begin(), reference.end(), line);
    const int expected_row = static_cast<int>(at - reference.begin());
    reference.insert(at, line);
    ASSERT_EQ(store.add(line), expected_row);
  }
  EXPECT_EQ(rows_of(store), reference);
}

TEST(LineStore, AnUnsortedListKeepsTheOrderOfAdding) {
  LineStore store(false);
  const auto lines = random_lines(3000, 2);
  for (const auto& line : lines) store.add(line);
  EXPECT_EQ(rows_of(store), lines);
}

TEST(LineStore, AFillSortsOnceAndLaterLinesJoinInOrder) {
  LineStore store(true);
  auto lines = random_lines(2000, 3);
  store.assign(lines);
  for (const auto& line : random_lines(700, 4)) {
    store.add(line);
    lines.push_back(line);
  }
  std::stable_sort(lines.begin(), lines.end());
  EXPECT_EQ(rows_of(store), lines);

  store.assign({});
  EXPECT_EQ(store.size(), 0);
  store.add("b");
  store.add("a");
  EXPECT_EQ(rows_of(store), (std::vector<std::string>{"a", "b"}));
}

}  // namespace
}  // namespace tav::qt
