// Refusals that only a user without root's privileges meets.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/settings_file.h"
#include "files/copy_batch.h"
#include "files/operations.h"
#include "platform/text.h"
#include "scan/tree_snapshot.h"
#include "support/current_folder.h"
#include "support/expect_error.h"
#include "support/temp_tree.h"

namespace tav {
namespace {

using test::TempTree;

std::size_t entries_in(const TempTree& tree, std::string_view rel) {
  std::size_t count = 0;
  for ([[maybe_unused]] const auto& entry :
       std::filesystem::directory_iterator(test::native(tree.path(rel)))) {
    ++count;
  }
  return count;
}

TEST(Refusals, CopyOntoAReadOnlyFileIsError75AndKeepsIt) {
  TempTree tree;
  tree.file("src/a.txt", "new").file("dst/a.txt", "old");
  test::set_read_only(tree.path("dst/a.txt"), true);
  const auto error = test::raised_by([&] { copy_file(tree.path("src/a.txt"), tree.path("dst/a.txt")); });
  ASSERT_TRUE(error);
  EXPECT_EQ(error->number(), 75);
  EXPECT_EQ(error->system_code(), 5u);
  EXPECT_EQ(error->detail(), 0xC0000201u);
  EXPECT_EQ(tree.read("dst/a.txt"), "old");
  EXPECT_EQ(entries_in(tree, "dst"), 1u);
}

TEST(Refusals, ReadOnlySettingsFileIsNotReplaced) {
  test::InTemporaryFolder here;
  write_settings({"C:\\old", "E"});
  test::set_read_only(here.tree.path(here.settings_file()), true);
  EXPECT_EQ(test::error_number_of([] { write_settings({"C:\\new", "F"}); }), 75);
  EXPECT_EQ(read_settings(), (Settings{"C:\\old", "E"}));
}

TEST(Refusals, LockedFolderIsRecordedButNotEnteredAndRefusesNewFolders) {
  TempTree tree;
  tree.folder("open/inner").folder("locked/hidden");
  if (!test::lock_folder(tree.path("locked"), true)) {
    GTEST_SKIP() << "folder permissions cannot be taken away on this system";
  }
  const TreeSnapshot read = read_tree(tree.root());
  const int make = test::error_number_of([&] { make_folder(tree.path("locked/new")); });
  test::lock_folder(tree.path("locked"), false);
  ASSERT_EQ(read.folders.size(), 4u);  // root, open, open/inner, locked
  const auto locked = std::ranges::find(read.folders, tree.path("locked"), &TreeFolder::path);
  ASSERT_NE(locked, read.folders.end());
  EXPECT_FALSE(locked->listed);
  EXPECT_EQ(make, 75);
}

}  // namespace
}  // namespace tav

#include "support/sync_fixture.h"

namespace tav {
namespace {

class RefusedSynchronisation : public test::SyncTest {};

TEST_F(RefusedSynchronisation, ARefusedCopyEndsWithError75AndKeepsWhatWasDone) {
  const test::LocalTime newer{2024, 5, 1, 10, 0, 9}, older{2024, 5, 1, 10, 0, 0};
  folder_side.file("p/1-first", "1", newer).file("p/2-locked", "2", newer).file("p/3-last", "3", newer);
  drive_side.file("p/2-locked", "old", older);
  test::set_read_only(drive_side.path("p/2-locked"), true);
  EXPECT_EQ(sync(Control::Button3), 1);
  ASSERT_EQ(window.error_reports().size(), 1u);
  EXPECT_NE(window.error_reports()[0].text.find("]:エラー[75]"), std::string::npos);
  EXPECT_NE(window.error_reports()[0].text.find("execution.cpp ["), std::string::npos);
  EXPECT_EQ(drive_side.read("p/2-locked"), "old");
  EXPECT_FALSE(here.tree.exists(here.settings_file()));
  // The copies run in slot order (the folder's listing order): whatever came
  // before the refused one is done, nothing after it.
  EXPECT_EQ(window.state(Control::Button4).text, "中　止");
}

}  // namespace
}  // namespace tav
