// Copies in batches: nothing takes its destination's name before the batch
// is placed, a destination changed meanwhile is left as it is, a copy that
// fails places the batch's finished copies first, and one abandoned leaves
// nothing of itself.
#include "files/copy_batch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "files/operations.h"
#include "support/expect_error.h"
#include "support/temp_tree.h"

namespace tav {
namespace {

using test::TempTree;

// The names in a folder, in the order listed.
std::vector<std::string> names_in(const std::string& folder) {
  std::vector<ListedEntry> entries;
  read_folder(folder, entries);
  std::vector<std::string> names;
  for (const auto& entry : entries) names.push_back(entry.name);
  std::sort(names.begin(), names.end());
  return names;
}

// Limits no test reaches by accident.
constexpr CopyBatch::Limits kRoomy{64, std::uint64_t{1} << 30, std::chrono::hours(1)};

TEST(CopyBatch, CopiesTakeTheirDestinationsOnlyWhenTheBatchIsPlaced) {
  TempTree tree;
  tree.file("src/a", "new a").file("src/b", "new b").file("dst/a", "old a");
  CopyBatch batch(kRoomy);
  EXPECT_EQ(batch.add(tree.path("src/a"), tree.path("dst/a"), Replaces::anything()),
            CopyBatch::Added::Written);
  batch.add(tree.path("src/b"), tree.path("dst/b"), Replaces::nothing());
  EXPECT_EQ(tree.read("dst/a"), "old a");
  EXPECT_FALSE(tree.exists("dst/b"));
  EXPECT_EQ(names_in(tree.path("dst")).size(), 3u);  // the old file and two temporary ones
  const CopyBatch::Placed placed = batch.place();
  EXPECT_EQ(tree.read("dst/a"), "new a");
  EXPECT_EQ(tree.read("dst/b"), "new b");
  EXPECT_EQ(names_in(tree.path("dst")), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(placed.placed, (std::vector<std::string>{tree.path("dst/a"), tree.path("dst/b")}));
  EXPECT_TRUE(placed.changed.empty());
}

// On a stick's file system, through its driver in user space where the
// system has no other, the flushes of a batch and of its folders succeed.
TEST(CopyBatch, IsPlacedAndFlushedOnAStick) {
  int seen = 0;
  for (const std::string_view kind : {"fat32", "exfat"}) {
    const auto root = test::test_volume_root(kind);
    if (!root) continue;
    ++seen;
    TempTree stick(*root);
    stick.file("src/a", "new a").file("src/b", "new b").file("dst/a", "old a");
    CopyBatch batch(kRoomy);
    batch.add(stick.path("src/a"), stick.path("dst/a"), Replaces::anything());
    batch.add(stick.path("src/b"), stick.path("dst/b"), Replaces::nothing());
    EXPECT_EQ(batch.place().placed.size(), 2u) << kind;
    EXPECT_NO_THROW(flush_changes({stick.path("dst"), stick.path("src")})) << kind;
    EXPECT_EQ(stick.read("dst/a"), "new a") << kind;
  }
  if (seen == 0) GTEST_SKIP() << "no FAT32 or exFAT volume for this run";
}

TEST(CopyBatch, ADestinationThatChangedBeforeThePlacingIsLeftAsItIs) {
  TempTree tree;
  tree.file("src/a", "new a").file("src/b", "new b").file("dst/a", "old a");
  const FileVersion seen = entry_at(tree.path("dst/a"))->version();
  CopyBatch batch(kRoomy);
  batch.add(tree.path("src/a"), tree.path("dst/a"), Replaces::exactly(seen));
  batch.add(tree.path("src/b"), tree.path("dst/b"), Replaces::nothing());
  tree.file("dst/a", "saved again, longer").file("dst/b", "made meanwhile");
  const CopyBatch::Placed placed = batch.place();
  EXPECT_EQ(tree.read("dst/a"), "saved again, longer");
  EXPECT_EQ(tree.read("dst/b"), "made meanwhile");
  EXPECT_EQ(names_in(tree.path("dst")), (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(placed.placed.empty());
  EXPECT_EQ(placed.changed, (std::vector<std::string>{tree.path("dst/a"), tree.path("dst/b")}));
}

TEST(CopyBatch, ASourceGoneOrAFolderNowIsAnsweredAndAnAbandonedCopyLeavesNothing) {
  TempTree tree;
  tree.file("src/big", std::string(3 << 20, 'n')).folder("src/now a folder").file("dst/big", "old");
  CopyBatch batch(kRoomy);
  EXPECT_EQ(batch.add(tree.path("src/gone"), tree.path("dst/gone"), Replaces::nothing()),
            CopyBatch::Added::SourceMissing);
  EXPECT_EQ(batch.add(tree.path("src/now a folder"), tree.path("dst/f"), Replaces::nothing()),
            CopyBatch::Added::SourceMissing);
  int chunks = 0;
  EXPECT_EQ(batch.add(tree.path("src/big"), tree.path("dst/big"), Replaces::anything(),
                      [&](std::uint64_t) { return ++chunks < 2; }),
            CopyBatch::Added::Abandoned);
  EXPECT_EQ(chunks, 2);
  EXPECT_TRUE(batch.place().placed.empty());
  EXPECT_EQ(tree.read("dst/big"), "old");
  EXPECT_EQ(names_in(tree.path("dst")), std::vector<std::string>{"big"});
}

TEST(CopyBatch, IsFullAtItsLimitOfFilesBytesOrTime) {
  TempTree tree;
  tree.file("src/a", "12345").file("src/b", "12345").folder("dst");
  auto now = std::chrono::steady_clock::time_point();
  const SteadyClock clock = [&] { return now; };
  const auto two_copies_then = [&](CopyBatch::Limits limits, std::chrono::milliseconds later) {
    CopyBatch batch(limits, clock);
    EXPECT_FALSE(batch.full());
    batch.add(tree.path("src/a"), tree.path("dst/a"), Replaces::anything());
    batch.add(tree.path("src/b"), tree.path("dst/b"), Replaces::anything());
    now += later;
    return batch.full();
  };
  using std::chrono::milliseconds;
  EXPECT_TRUE(two_copies_then({2, 1000, milliseconds(1000)}, milliseconds(0)));
  EXPECT_TRUE(two_copies_then({9, 10, milliseconds(1000)}, milliseconds(0)));
  EXPECT_FALSE(two_copies_then({9, 11, milliseconds(1000)}, milliseconds(999)));
  EXPECT_TRUE(two_copies_then({9, 11, milliseconds(1000)}, milliseconds(1000)));
}

TEST(CopyBatch, AFailedCopyPlacesTheFinishedOnesFirst) {
  const auto small = test::small_file_system_root();
  if (!small) GTEST_SKIP() << "this run provides no small file system (TAVRELON_SMALL_FS)";
  TempTree source, full(*small);
  source.file("small", "fits").file("big", std::string(256 << 10, 'n'));
  CopyBatch batch(kRoomy);
  batch.add(source.path("small"), full.path("small"), Replaces::nothing());
  EXPECT_EQ(test::error_number_of([&] {
              batch.add(source.path("big"), full.path("big"), Replaces::nothing());
            }),
            67);
  EXPECT_EQ(full.read("small"), "fits");
  EXPECT_EQ(names_in(full.root()), std::vector<std::string>{"small"});
}

TEST(TemporaryNames, AreKnownFromEitherSystem) {
  EXPECT_TRUE(is_temporary_name("~tavrelon-123-0.tmp"));
  EXPECT_TRUE(is_temporary_name(".~tavrelon-9-17.tmp"));
  EXPECT_FALSE(is_temporary_name("~tavrelon-notes.tmp"));
  EXPECT_FALSE(is_temporary_name("~tavrelon-1-2.txt"));
  EXPECT_FALSE(is_temporary_name("x~tavrelon-1-2.tmp"));
}

}  // namespace
}  // namespace tav
