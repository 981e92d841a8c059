// A copy keeps its source's write time once it has taken its name, also on
// a FAT volume whose driver stamps a renamed file with the time of the
// rename: a whole run onto such a volume leaves nothing for a run back, and
// a time that cannot be set again leaves the copy placed.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "files/copy_batch.h"
#include "platform/folder_reading.h"
#include "platform/system_faults.h"
#include "support/sample_trees.h"
#include "support/sync_fixture.h"

namespace tav {
namespace {

using test::kNew;
using test::kOld;

constexpr std::string_view kNoFat32 =
    "no FAT32 volume for this test run (scripts/test mounts one as root on Linux, "
    "TAVRELON_FAT32_FS; under Wine S: is FAT32)";

// Whether a rename on the volume gives a file the time of the rename.
bool renames_stamp_anew(const std::string& volume) {
  test::TempTree probe(volume);
  probe.file("before", "", kOld);
  const auto set = entry_at(probe.path("before"))->written.seconds;
  std::filesystem::rename(test::native(probe.path("before")), test::native(probe.path("after")));
  return entry_at(probe.path("after"))->written.seconds != set;
}

// Whether a time set on a file reads back as set: a FAT driver through FUSE
// converts the times it is given with the local time zone and those it
// reports without (seen: nine hours away under Tokyo's time).
bool keeps_times_set(const std::string& volume) {
  test::TempTree probe(volume);
  probe.file("probe", "", kOld);
  const auto path = test::native(probe.path("probe"));
  const auto set = std::filesystem::last_write_time(path) - std::chrono::hours(24);
  std::filesystem::last_write_time(path, set);
  const auto moved = std::filesystem::last_write_time(path) - set;
  return moved < std::chrono::seconds(3) && moved > -std::chrono::seconds(3);
}

class PlacedTimes : public test::SyncTest {};

TEST_F(PlacedTimes, CopiesOntoFat32KeepTheSourcesTimeAndARunBackFindsNothing) {
  const auto volume = test::test_volume_root("fat32");
  if (!volume) GTEST_SKIP() << kNoFat32;
  if (!keeps_times_set(*volume)) {
    GTEST_SKIP() << "this FAT32 volume does not keep a time set on a file in this time zone";
  }
  test::TempTree stick(*volume);
  stick.file("p/a.txt", "old a", kOld);
  drive_side.file("p/a.txt", "new a", kNew).file("p/b.txt", "made", kNew)
      .file("p/sub/c.txt", "below", kNew);
  window.type(Control::Edit1, stick.root());
  ASSERT_EQ(sync(Control::Button2), 0);
  ASSERT_EQ(stick.read("p/sub/c.txt"), "below");
  for (const char* rel : {"p/a.txt", "p/b.txt", "p/sub/c.txt"}) {
    EXPECT_EQ(entry_at(stick.path(rel))->written.seconds,
              entry_at(drive_side.path(rel))->written.seconds)
        << rel;
  }
  start_again().type(Control::Edit1, stick.root()).click(Control::Button3).click(Control::Button4);
  ASSERT_EQ(run_again(), 0);
  EXPECT_EQ(again().state(Control::List1).items, std::vector<std::string>{});
  EXPECT_EQ(again().state(Control::List2).items, std::vector<std::string>{});
}

TEST(PlacedCopy, WhoseTimeCannotBeSetAgainStaysPlacedWhole) {
  const auto volume = test::test_volume_root("fat32");
  if (!volume) GTEST_SKIP() << kNoFat32;
  if (!renames_stamp_anew(*volume)) {
    GTEST_SKIP() << "this volume keeps a file's time through a rename";
  }
  test::TempTree source, stick(*volume);
  source.file("a.txt", "new a", kOld);
  CopyBatch batch({8, 1 << 20, std::chrono::hours(1)});
  batch.add(source.path("a.txt"), stick.path("a.txt"), Replaces::nothing());
  const sys::FaultPlan plan(sys::Call::SetTimes, 1, sys::kAccessDenied);
  CopyBatch::Placed placed;
  EXPECT_NO_THROW(placed = batch.place());
  EXPECT_TRUE(plan.struck());
  EXPECT_EQ(placed.placed, std::vector<std::string>{stick.path("a.txt")});
  EXPECT_EQ(stick.read("a.txt"), "new a");
}

}  // namespace
}  // namespace tav
