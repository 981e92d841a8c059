// Whole runs that keep what they delete or replace: the kept files' bytes
// and times, old kept runs released sparing the latest, and the free-space
// question that offers releasing them.
#include "worklist/run_keeping.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>

#include "support/sample_trees.h"
#include "support/sync_fixture.h"
#include "volume_state/kept_runs.h"
#include "volume_state/state_folder.h"

namespace tav {
namespace {

using test::kNew;
using test::kOld;
using test::LocalTime;
using test::TempTree;

LocalTime days_ago(int days) {
  const std::time_t when = std::time(nullptr) - std::time_t{days} * 24 * 3600;
  const std::tm local = *std::localtime(&when);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
          local.tm_sec};
}

std::vector<std::string> run_names(const std::string& root) {
  std::vector<std::string> names;
  for (const auto& run : state::kept_runs(root)) names.push_back(run.name);
  return names;
}

// A kept run of another pair, written days ago, holding a file of size bytes.
std::string kept_run(TempTree& side, int day, int days_old, std::size_t size = 1) {
  const std::string name = "202401" + std::string(day < 10 ? "0" : "") + std::to_string(day) +
                           "-120000-00000000000000ab";
  const std::string rel = ".tavrelon/kept/" + name;
  side.file(rel + "/p/kept.bin", std::string(size, 'k'));
  test::set_local_write_time(side.path(rel), days_ago(days_old));
  return name;
}

class Keeping : public test::SyncTest, public testing::WithParamInterface<Control> {
 protected:
  TempTree& from() { return source_side(GetParam()); }
  TempTree& to() { return destination_side(GetParam()); }
};

TEST_P(Keeping, DeletedAndReplacedFilesAreKeptWithTheirBytesAndTimes) {
  from().file("p/a.txt", "new a", kNew);
  to().file("p/a.txt", "old a", kOld).file("p/sub/gone.txt", "to delete", kOld);
  ASSERT_EQ(sync(GetParam()), 0);
  const auto runs = state::kept_runs(to().root_with_separator());
  ASSERT_EQ(runs.size(), 1u);
  const std::string run = ".tavrelon/kept/" + runs[0].name + "/";
  EXPECT_EQ(to().read("p/a.txt"), "new a");
  EXPECT_EQ(to().read(run + "p/a.txt"), "old a");
  EXPECT_EQ(to().read(run + "p/sub/gone.txt"), "to delete");
  EXPECT_FALSE(to().exists("p/sub"));
  const auto kept = entry_at(to().path(run + "p/sub/gone.txt"));
  const auto made = entry_at(from().path("p/a.txt"));
  ASSERT_TRUE(kept && made);
  EXPECT_LT(kept->written, made->written);  // the old file's own time, kOld
  const auto journal = state::journal_of(runs[0]);
  ASSERT_TRUE(journal);
  EXPECT_EQ(journal->to_drive, GetParam() == Control::Button3);
  EXPECT_EQ(journal->entries.size(), 3u);  // replaced, kept, folder removed
}

INSTANTIATE_TEST_SUITE_P(BothWays, Keeping, TAV_BOTH_ARROWS);

class KeptRuns : public test::SyncTest {};

TEST_F(KeptRuns, OlderThanThirtyDaysAreReleasedSparingTheLastThree) {
  for (const int day : {1, 2, 3, 4, 5, 6}) kept_run(drive_side, day, day == 2 || day == 6 ? 5 : 40);
  folder_side.folder("p");
  drive_side.file("p/gone.txt", "to delete", kOld);
  ASSERT_EQ(sync(Control::Button3), 0);
  const auto names = run_names(drive_side.root_with_separator());
  // The old ones go but for the last three, whatever their age; the young
  // one stays; the new run's beside them.
  ASSERT_EQ(names.size(), 5u);
  EXPECT_EQ(names[0], "20240102-120000-00000000000000ab");
  EXPECT_EQ(names[1], "20240104-120000-00000000000000ab");
  EXPECT_EQ(names[3], "20240106-120000-00000000000000ab");
}

TEST_F(KeptRuns, ARunThatCannotFitOffersToReleaseThemOldestFirst) {
  const test::HeldSmallFileSystem held;
  if (!held.root()) GTEST_SKIP() << "this run provides no small file system (TAVRELON_SMALL_FS)";
  // The folder side on the small file system, filled by four kept runs.
  TempTree small(*held.root());
  TempTree& folder = small;
  window.type(Control::Edit1, folder.root());
  for (const int day : {1, 2, 3, 4}) kept_run(folder, day, 1, 12 << 10);
  folder.folder("p");
  drive_side.file("p/big.bin", std::string(20 << 10, 'b'), kNew);
  window.click(Control::Button2).click(Control::Button2).click(Control::Button4);
  EXPECT_EQ(run(), 0);
  ASSERT_FALSE(window.boxes().empty());
  EXPECT_NE(window.boxes()[0].text.find("以前の処理で残したファイルを削除すると空く容量: 1 MB"),
            std::string::npos);
  EXPECT_EQ(folder.read("p/big.bin"), std::string(20 << 10, 'b'));
  const auto names = run_names(folder.root_with_separator());
  ASSERT_FALSE(names.empty());
  EXPECT_EQ(names[0], "20240102-120000-00000000000000ab");  // the oldest went
}

}  // namespace
}  // namespace tav
