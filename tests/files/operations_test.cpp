#include "files/operations.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "files/copy_batch.h"
#include "platform/folder_reading.h"
#include "platform/local_time.h"
#include "platform/system_files.h"
#include "platform/text.h"
#include "support/expect_error.h"
#include "support/temp_tree.h"

namespace tav {
namespace {

using test::error_number_of;
using test::LocalTime;
using test::raised_by;
using test::TempTree;

// The names in a folder, sorted; none for a folder that cannot be listed.
std::vector<std::string> names_in(const std::string& folder) {
  std::vector<ListedEntry> entries;
  read_folder(folder, entries);
  std::vector<std::string> names;
  for (const ListedEntry& entry : entries) names.push_back(entry.name);
  std::sort(names.begin(), names.end());
  return names;
}

std::string long_path(const TempTree& tree, std::size_t bytes) {
  std::string path = tree.root_with_separator();
  path += std::string(bytes - path.size(), 'x');
  return path;
}

TEST(ReadFolder, DescribesEachEntry) {
  TempTree tree;
  tree.file("a.txt", "12345", LocalTime{2001, 3, 9, 7, 5, 0}).folder("sub");
  const auto file = entry_at(tree.path("a.txt"));
  ASSERT_TRUE(file);
  EXPECT_EQ(file->size, 5u);
  EXPECT_FALSE(file->folder);
  EXPECT_EQ(date_text(local_stamp(file->written.seconds)), "2001/03/09");
  EXPECT_EQ(time_text(local_stamp(file->written.seconds)), "07:05:00");
  const auto folder = entry_at(tree.path("sub"));
  ASSERT_TRUE(folder);
  EXPECT_TRUE(folder->folder);
  EXPECT_EQ(folder->size, 0u);
  EXPECT_FALSE(folder->link);
}

TEST(ReadFolder, ListsEveryEntryButTheDotsAndNothingOfAMissingFolder) {
  TempTree tree;
  tree.file("f/one.txt").file("f/ソ表.txt").folder("f/inner").folder("empty");
  EXPECT_EQ(names_in(tree.path("f")), (std::vector<std::string>{"inner", "one.txt", "ソ表.txt"}));
  std::vector<ListedEntry> entries{{"stale"}};
  EXPECT_TRUE(read_folder(tree.path("empty"), entries));
  EXPECT_TRUE(entries.empty());
  EXPECT_FALSE(read_folder(tree.path("missing"), entries));
  EXPECT_FALSE(entry_at(tree.path("missing")));
}

// Each file's own number, which a move within the volume keeps, in the
// listing and in a look at the entry alone.
TEST(ReadFolder, IdentitiesTellFilesApartAndLastAcrossAMove) {
  TempTree tree;
  tree.file("d/a.txt", "a").file("d/b.txt", "b").folder("moved");
  std::vector<ListedEntry> entries;
  ASSERT_TRUE(read_folder(tree.path("d"), entries));
  ASSERT_EQ(entries.size(), 2u);
  const bool a_first = entries[0].name == "a.txt";
  const std::uint64_t a = entries[a_first ? 0 : 1].identity, b = entries[a_first ? 1 : 0].identity;
  if (a == 0) GTEST_SKIP() << "this volume's listing gives no identities";
  EXPECT_NE(b, 0u);
  EXPECT_NE(a, b);
  std::filesystem::rename(test::native(tree.path("d/a.txt")),
                          test::native(tree.path("moved/c.txt")));
  ASSERT_TRUE(read_folder(tree.path("moved"), entries));
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].identity, a);
  EXPECT_EQ(identity_at(tree.path("moved/c.txt")), a);
}

TEST(Existence, AnswersForFilesAndFolders) {
  TempTree tree;
  tree.file("f.txt").folder("d").folder("ソ");
  EXPECT_TRUE(file_exists(tree.path("f.txt")));
  EXPECT_FALSE(folder_exists(tree.path("f.txt")));
  EXPECT_TRUE(folder_exists(tree.path("d")));
  EXPECT_FALSE(file_exists(tree.path("d")));
  EXPECT_TRUE(folder_exists(tree.path("ソ")));
  EXPECT_FALSE(file_exists(tree.path("none")));
  EXPECT_FALSE(folder_exists(tree.path("none")));
  // A path ending in the separator finds nothing, as the system's search.
  EXPECT_FALSE(folder_exists(tree.path("d") + kPathSeparator));
  EXPECT_FALSE(folder_exists(tree.root_with_separator()));
}

TEST(Existence, WildcardsAreRefusedWhereNamesCannotHoldThem) {
  if (sys::kNamesMayHoldWildcards) GTEST_SKIP() << "\"*\" and \"?\" are ordinary name characters here";
  TempTree tree;
  const auto star = raised_by([&] { file_exists(tree.path("*.txt")); });
  ASSERT_TRUE(star);
  EXPECT_EQ(star->number(), 55);
  EXPECT_EQ(star->detail(), 0xC0000D02u);
  const auto question = raised_by([&] { folder_exists(tree.path("a?")); });
  ASSERT_TRUE(question);
  EXPECT_EQ(question->detail(), 0xC0000E06u);
}

TEST(Existence, AFileNamedLikeAPatternIsFoundAsItselfWhereNamesMayHoldIt) {
  if (!sys::kNamesMayHoldWildcards) GTEST_SKIP() << "names cannot hold \"*\" here";
  TempTree tree;
  tree.file("d/*", "star").file("d/other.txt");
  EXPECT_TRUE(file_exists(tree.path("d/*")));
  EXPECT_FALSE(file_exists(tree.path("d/*.*")));
  EXPECT_EQ(entry_at(tree.path("d/*"))->size, 4u);
}

TEST(Existence, LookupIgnoresCaseWhereTheSystemDoes) {
  if (sys::kNamesMayHoldWildcards) GTEST_SKIP() << "names are case-sensitive here";
  TempTree tree;
  tree.file("a.txt");
  EXPECT_TRUE(file_exists(tree.path("A.TXT")));
}

TEST(Folders, MakeAndRemove) {
  TempTree tree;
  make_folder(tree.path("new"));
  EXPECT_TRUE(folder_exists(tree.path("new")));
  make_folder(tree.path("new/表ソ"));
  EXPECT_TRUE(folder_exists(tree.path("new/表ソ")));
  remove_folder(tree.path("new/表ソ"));
  remove_folder(tree.path("new"));
  EXPECT_FALSE(tree.exists("new"));
}

TEST(Folders, RefusalsGiveTheirNumbers) {
  TempTree tree;
  tree.file("full/f.txt");
  const auto existing = raised_by([&] { make_folder(tree.path("full")); });
  ASSERT_TRUE(existing);
  EXPECT_EQ(existing->number(), 64);
  EXPECT_EQ(existing->detail(), 0xC0000A02u);
  EXPECT_EQ(existing->system_code(), 183u);
  EXPECT_EQ(error_number_of([&] { make_folder(tree.path("no/parent")); }), 63);

  const auto not_empty = raised_by([&] { remove_folder(tree.path("full")); });
  ASSERT_TRUE(not_empty);
  EXPECT_EQ(not_empty->number(), 27);
  EXPECT_EQ(not_empty->system_code(), 145u);
  EXPECT_EQ(not_empty->detail(), 0xC0000C02u);
  EXPECT_TRUE(tree.exists("full/f.txt"));
}

TEST(Folders, PathsLongerThan260BytesAreRefusedBeforeTheSystem) {
  TempTree tree;
  const auto make = raised_by([&] { make_folder(long_path(tree, 261)); });
  ASSERT_TRUE(make);
  EXPECT_EQ(make->number(), 5);
  EXPECT_EQ(make->detail(), 0xC0000A01u);
  EXPECT_FALSE(make->system_code());
  const auto remove = raised_by([&] { remove_folder(long_path(tree, 261)); });
  ASSERT_TRUE(remove);
  EXPECT_EQ(remove->detail(), 0xC0000C01u);
}

TEST(DeleteFile, DeletesOnlyFiles) {
  TempTree tree;
  tree.file("f.txt").folder("d");
  delete_file(tree.path("f.txt"));
  EXPECT_FALSE(tree.exists("f.txt"));

  const auto folder = raised_by([&] { delete_file(tree.path("d")); });
  ASSERT_TRUE(folder);
  EXPECT_EQ(folder->number(), 63);
  EXPECT_EQ(folder->detail(), 0x8603u);
  EXPECT_TRUE(tree.exists("d"));
  EXPECT_EQ(error_number_of([&] { delete_file(tree.path("missing")); }), 63);
  const auto too_long = raised_by([&] { delete_file(long_path(tree, 261)); });
  ASSERT_TRUE(too_long);
  EXPECT_EQ(too_long->number(), 55);
  EXPECT_EQ(too_long->detail(), 0x8601u);
}

TEST(CopyFile, ReplacesTheDestinationAndKeepsTheWriteTime) {
  TempTree tree;
  tree.file("src/ソ表.txt", "new content", LocalTime{2024, 5, 2, 0, 0, 1});
  tree.file("dst/ソ表.txt", "old", LocalTime{2024, 5, 1, 23, 59, 59});
  int chunks = 0;
  copy_file(tree.path("src/ソ表.txt"), tree.path("dst/ソ表.txt"), [&](std::uint64_t) {
    ++chunks;
    return true;
  });
  EXPECT_EQ(tree.read("dst/ソ表.txt"), "new content");
  EXPECT_GE(chunks, 1);
  const auto copied = entry_at(tree.path("dst/ソ表.txt"));
  ASSERT_TRUE(copied);
  EXPECT_EQ(date_text(local_stamp(copied->written.seconds)), "2024/05/02");
  EXPECT_EQ(time_text(local_stamp(copied->written.seconds)), "00:00:01");
  // Nothing but the copy is left in the destination folder.
  EXPECT_EQ(names_in(tree.path("dst")), std::vector<std::string>{"ソ表.txt"});
}

// Each copy in turn, whether or not the one before took its source's mode
// as it was made.
TEST(CopyFile, KeepsTheReadOnlyAttribute) {
  TempTree tree;
  tree.file("src/rw.txt", "x").file("src/ro.txt", "x").file("src/ro2.txt", "x").folder("dst");
  test::set_read_only(tree.path("src/ro.txt"), true);
  test::set_read_only(tree.path("src/ro2.txt"), true);
  for (const char* name : {"rw.txt", "ro.txt", "ro2.txt", "rw.txt"}) {
    copy_file(tree.path("src/") + name, tree.path("dst/") + name);
    EXPECT_EQ(test::is_read_only(tree.path("dst/") + name), name[1] == 'o') << name;
  }
}

TEST(CopyFile, RefusalsGiveTheirNumbers) {
  TempTree tree;
  tree.file("a.txt", "a").folder("d");
  const auto missing = raised_by([&] { copy_file(tree.path("none"), tree.path("d/x")); });
  ASSERT_TRUE(missing);
  EXPECT_EQ(missing->number(), 63);
  EXPECT_EQ(missing->system_code(), 2u);
  EXPECT_EQ(missing->detail(), 0xC0000201u);
  const auto no_folder = raised_by([&] { copy_file(tree.path("a.txt"), tree.path("no/x")); });
  ASSERT_TRUE(no_folder);
  EXPECT_EQ(no_folder->system_code(), 3u);
  EXPECT_EQ(no_folder->number(), 63);
  // A folder stands at the destination: refused, the folder untouched.
  EXPECT_EQ(error_number_of([&] { copy_file(tree.path("a.txt"), tree.path("d")); }), 75);
  EXPECT_TRUE(folder_exists(tree.path("d")));
}

TEST(CopyFile, AnInterruptedCopyLeavesTheOldDestination) {
  TempTree tree;
  tree.file("src/big.bin", std::string(3 << 20, 'n'));
  tree.file("dst/big.bin", "old");
  struct Interrupted {};
  EXPECT_THROW(copy_file(tree.path("src/big.bin"), tree.path("dst/big.bin"),
                         [](std::uint64_t) -> bool { throw Interrupted{}; }),
               Interrupted);
  EXPECT_EQ(tree.read("dst/big.bin"), "old");
  EXPECT_EQ(names_in(tree.path("dst")), std::vector<std::string>{"big.bin"});
}

TEST(CopyFileDeathTest, AProcessKilledMidCopyLeavesTheOldDestination) {
  TempTree tree;
  tree.file("src/big.bin", std::string(3 << 20, 'n'));
  tree.file("dst/big.bin", "old");
  EXPECT_EXIT(copy_file(tree.path("src/big.bin"), tree.path("dst/big.bin"),
                        [](std::uint64_t) -> bool { std::_Exit(3); }),
              testing::ExitedWithCode(3), "");
  EXPECT_EQ(tree.read("dst/big.bin"), "old");
}

}  // namespace
}  // namespace tav

namespace tav {
namespace {

TEST(CopyFile, AFullDiskLeavesTheOldDestinationAndNoTemporaryFile) {
  const test::HeldSmallFileSystem held;
  const auto& small = held.root();
  if (!small) GTEST_SKIP() << "this run provides no small file system (TAVRELON_SMALL_FS)";
  TempTree source;
  source.file("big.bin", std::string(256 << 10, 'n'));
  TempTree full(*small);
  full.file("big.bin", "old");
  const auto error =
      test::raised_by([&] { copy_file(source.path("big.bin"), full.path("big.bin")); });
  ASSERT_TRUE(error);
  EXPECT_EQ(error->system_code(), 112u);
  EXPECT_EQ(error->number(), 67);
  EXPECT_EQ(full.read("big.bin"), "old");
  EXPECT_EQ(names_in(full.root()), std::vector<std::string>{"big.bin"});
}

}  // namespace
}  // namespace tav
