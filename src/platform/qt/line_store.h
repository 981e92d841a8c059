// The lines of a list box, readable by row: kept in the order they were
// added, or sorted by their bytes (UTF-8, so by code point, letter case
// counting) for a sorted list, an added line going after its equals.
//
// The lines are held in blocks of a few hundred, so that adding one at its
// sorted place moves a block's worth of lines, not the whole list: the
// execution adds up to 100,000 lines one at a time.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tav::qt {

class LineStore {
 public:
  explicit LineStore(bool sorted) : sorted_(sorted) {}

  int size() const { return size_; }
  // The line at a row from 0 to size() - 1.
  const std::string& at(int row) const;

  void clear();
  // Adds one line at its sorted place, or at the end; returns its row.
  int add(std::string_view line);
  // Replaces every line at once: one sort for a sorted list.
  void assign(const std::vector<std::string>& lines);

 private:
  using Block = std::vector<std::string>;

  // The block that holds a row, and the row's place in it.
  std::pair<std::size_t, std::size_t> locate(int row) const;
  // The block where a line goes in sorted order.
  std::size_t block_for(std::string_view line) const;
  void split_if_full(std::size_t block);
  void recount_from(std::size_t block);

  bool sorted_;
  int size_ = 0;
  std::vector<Block> blocks_;
  std::vector<int> first_rows_;  // the row of each block's first line
};

}  // namespace tav::qt
