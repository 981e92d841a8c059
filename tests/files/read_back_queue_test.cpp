// The check of many copies at once: the verdicts come in the order given
// whatever order the readers finish in, a failing read anywhere names that
// one file, and a stop ends every reader.
#include "files/read_back_queue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/system_faults.h"
#include "support/temp_tree.h"

namespace tav {
namespace {

using test::TempTree;

constexpr std::size_t kChunk = 1 << 20;

// Twelve files, the larger ones first so that later ones finish sooner;
// every third holds other bytes than its hash says, the fifth is missing.
struct Files {
  TempTree tree;
  std::vector<ReadBackQueue::Item> items;
  std::vector<ReadBack> expected;

  Files() {
    for (int i = 0; i < 12; ++i) {
      const std::string name = "f" + std::to_string(i);
      const std::string bytes((12 - i) * kChunk / 4 + 1, static_cast<char>('a' + i));
      if (i != 5) tree.file(name, i % 3 == 0 ? bytes + "!" : bytes);
      items.push_back({tree.path(name), content_hash(bytes)});
      expected.push_back(i == 5 ? ReadBack::Unreadable
                                : i % 3 == 0 ? ReadBack::Differs : ReadBack::Match);
    }
  }
};

std::vector<ReadBack> verdicts(ReadBackQueue& queue, std::size_t count) {
  std::vector<ReadBack> all;
  for (std::size_t i = 0; i < count; ++i) all.push_back(queue.next({}));
  return all;
}

TEST(ReadBackQueue, GivesEachVerdictInTheOrderGiven) {
  const Files files;
  for (const std::size_t readers : {1u, 4u, 16u}) {
    ReadBackQueue queue(files.items, readers);
    EXPECT_EQ(verdicts(queue, files.items.size()), files.expected) << readers;
  }
}

TEST(ReadBackQueue, AReadThatFailsOnAnyReaderNamesOneFile) {
  Files files;
  files.expected.assign(files.items.size(), ReadBack::Match);
  for (std::size_t i = 0; i < files.items.size(); ++i) {
    if (i == 5) continue;
    files.items[i].written = content_hash(files.tree.read("f" + std::to_string(i)));
  }
  files.items.erase(files.items.begin() + 5);
  files.expected.pop_back();
  for (const std::size_t nth : {1u, 7u, 15u}) {
    const sys::FaultPlan plan(sys::Call::Read, nth, sys::kIoDevice);
    ReadBackQueue queue(files.items);
    const auto all = verdicts(queue, files.items.size());
    EXPECT_TRUE(plan.struck());
    EXPECT_EQ(std::ranges::count(all, ReadBack::Unreadable), 1) << nth;
    EXPECT_EQ(std::ranges::count(all, ReadBack::Match), static_cast<long>(all.size()) - 1) << nth;
  }
}

TEST(ReadBackQueue, AStopEndsTheCheckAtOnce) {
  const Files files;
  ReadBackQueue queue(files.items, 2);
  std::size_t heard = 0;
  EXPECT_EQ(queue.next([&](std::uint64_t) { return ++heard < 1; }), ReadBack::Stopped);
  EXPECT_EQ(heard, 1u);
}  // the queue's end waits for its readers, which stop after their chunk

}  // namespace
}  // namespace tav
