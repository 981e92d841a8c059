// Refusals that only a user without root's privileges meets.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/settings_file.h"
#include "platform/files.h"
#include "platform/text.h"
#include "scan/subdirs.h"
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
  TempTree tree;
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(test::native(tree.root()));
  write_settings({"C:\\old", "E"});
  test::set_read_only(tree.path("Tavrelon.GYD"), true);
  const int number = test::error_number_of([] { write_settings({"C:\\new", "F"}); });
  const Settings kept = read_settings();
  std::filesystem::current_path(previous);
  EXPECT_EQ(number, 75);
  EXPECT_EQ(kept, (Settings{"C:\\old", "E"}));
}

TEST(Refusals, LockedFolderIsRecordedButNotEnteredAndRefusesNewFolders) {
  TempTree tree;
  tree.folder("open/inner").folder("locked/hidden");
  if (!test::lock_folder(tree.path("locked"), true)) {
    GTEST_SKIP() << "folder permissions cannot be taken away on this system";
  }
  const auto folders = get_subdirs(tree.root());
  const int make = test::error_number_of([&] { make_folder(tree.path("locked/new")); });
  test::lock_folder(tree.path("locked"), false);
  EXPECT_EQ(folders.size(), 4u);  // root, open, open/inner, locked
  EXPECT_NE(std::find(folders.begin(), folders.end(), tree.path("locked")), folders.end());
  EXPECT_EQ(make, 75);
}

}  // namespace
}  // namespace tav
