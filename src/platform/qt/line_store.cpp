#include "platform/qt/line_store.h"

#include <algorithm>
#include <iterator>

namespace tav::qt {

namespace {

// Lines a block holds after a fill or a split; it splits at twice as many.
constexpr std::size_t kBlockLines = 256;

}  // namespace

const std::string& LineStore::at(int row) const {
  const auto [block, offset] = locate(row);
  return blocks_[block][offset];
}

std::pair<std::size_t, std::size_t> LineStore::locate(int row) const {
  const auto after = std::upper_bound(first_rows_.begin(), first_rows_.end(), row);
  const auto block = static_cast<std::size_t>(after - first_rows_.begin()) - 1;
  return {block, static_cast<std::size_t>(row - first_rows_[block])};
}

void LineStore::clear() {
  blocks_.clear();
  first_rows_.clear();
  size_ = 0;
}

std::size_t LineStore::block_for(std::string_view line) const {
  // Only the block made for the first line is ever empty.
  if (!sorted_ || blocks_.front().empty()) return blocks_.size() - 1;
  // The first block whose last line sorts after the new one, else the last.
  const auto found = std::partition_point(blocks_.begin(), blocks_.end(),
                                          [line](const Block& b) { return !(line < b.back()); });
  return found == blocks_.end() ? blocks_.size() - 1
                                : static_cast<std::size_t>(found - blocks_.begin());
}

int LineStore::add(std::string_view line) {
  if (blocks_.empty()) {
    blocks_.emplace_back();
    first_rows_.push_back(0);
  }
  const std::size_t block = block_for(line);
  Block& lines = blocks_[block];
  const auto at = sorted_ ? std::upper_bound(lines.begin(), lines.end(), line) : lines.end();
  const int row = first_rows_[block] + static_cast<int>(at - lines.begin());
  lines.insert(at, std::string(line));
  ++size_;
  split_if_full(block);
  recount_from(block + 1);
  return row;
}

void LineStore::split_if_full(std::size_t block) {
  if (blocks_[block].size() < 2 * kBlockLines) return;
  Block& full = blocks_[block];
  Block upper(std::make_move_iterator(full.begin() + kBlockLines),
              std::make_move_iterator(full.end()));
  full.resize(kBlockLines);
  blocks_.insert(blocks_.begin() + static_cast<std::ptrdiff_t>(block) + 1, std::move(upper));
  first_rows_.insert(first_rows_.begin() + static_cast<std::ptrdiff_t>(block) + 1, 0);
}

void LineStore::recount_from(std::size_t block) {
  for (std::size_t b = std::max<std::size_t>(block, 1); b < blocks_.size(); ++b) {
    first_rows_[b] = first_rows_[b - 1] + static_cast<int>(blocks_[b - 1].size());
  }
}

void LineStore::assign(const std::vector<std::string>& lines) {
  clear();
  // The order is found on pointers, and each line copied once into place.
  // Equal lines are alike, so the sort need not be stable.
  std::vector<const std::string*> order;
  order.reserve(lines.size());
  for (const auto& line : lines) order.push_back(&line);
  if (sorted_) {
    std::sort(order.begin(), order.end(), [](const auto* a, const auto* b) { return *a < *b; });
  }
  size_ = static_cast<int>(lines.size());
  for (std::size_t start = 0; start < order.size(); start += kBlockLines) {
    const std::size_t end = std::min(start + kBlockLines, order.size());
    first_rows_.push_back(static_cast<int>(start));
    Block& block = blocks_.emplace_back();
    block.reserve(end - start);
    for (std::size_t i = start; i < end; ++i) block.push_back(*order[i]);
  }
}

}  // namespace tav::qt
