#include "worklist/list_lines.h"

#include <gtest/gtest.h>

#include "platform/text.h"

namespace tav {
namespace {

Roots roots_to_drive() {
  Roots roots;
  roots.direction = Direction::FolderToDrive;
  roots.folder_root = std::string("C:") + kPathSeparator + "w" + kPathSeparator;
  roots.drive_root = std::string("E:") + kPathSeparator;
  return roots;
}

TEST(ListLines, CopyLineHasFillerTo126BytesAndTheSlot) {
  const CopyEntry entry{std::string("doc") + kPathSeparator + "a.txt", "2024/05/01", "2024/04/30"};
  const std::string text = copy_entry_text(entry, roots_to_drive());
  EXPECT_EQ(text, std::string("(更新) E:") + kPathSeparator + "doc" + kPathSeparator +
                      "a.txt  (2024/05/01)→(2024/04/30)");
  EXPECT_EQ(cp932_length(text), 47u);
  const std::string line = format_line(text, kCopyTextWidth, 3);
  EXPECT_EQ(cp932_length(line), 134u);
  EXPECT_EQ(line.substr(line.size() - 8 - 79), std::string(79, ' ') + "       3");
}

TEST(ListLines, KindWordAndEmptyBracketsFollowTheDestination) {
  Roots roots = roots_to_drive();
  const CopyEntry to_drive{"a", "2024/05/01", ""};
  EXPECT_EQ(copy_entry_text(to_drive, roots),
            std::string("(作成) E:") + kPathSeparator + "a  (2024/05/01)→()");
  roots.direction = Direction::DriveToFolder;
  const CopyEntry to_folder{"a", "", "2024/05/01"};
  EXPECT_EQ(copy_entry_text(to_folder, roots),
            std::string("(作成) C:") + kPathSeparator + "w" + kPathSeparator + "a  ()←(2024/05/01)");
  // A blank destination date still counts as absent.
  const CopyEntry blank_date{"a", "\u3000", "2024/05/01"};
  EXPECT_TRUE(copy_entry_text(blank_date, roots).starts_with("(作成) "));
}

TEST(ListLines, FillerCountsDoubleBytesTwiceAndLongTextsKeepTheIndexLast) {
  const std::string japanese = "(削除) E:\\表表表";
  const std::string line = format_line(japanese, kOtherTextWidth, kFolderIndexBase + 9999);
  EXPECT_EQ(cp932_length(line), 264u);
  EXPECT_TRUE(line.ends_with(" 1009999"));
  const std::string exact(126, 'x');
  EXPECT_EQ(format_line(exact, kCopyTextWidth, 99999), exact + "   99999");
  const std::string longer(300, 'y');
  const std::string long_line = format_line(longer, kOtherTextWidth, 5);
  EXPECT_EQ(long_line, longer + "       5");
  EXPECT_EQ(read_line(long_line).slot, 5);
}

TEST(ListLines, ReadingBackTellsFilesFromFolders) {
  EXPECT_EQ(read_line(format_line("(削除) x", kOtherTextWidth, 99999)).folder, false);
  EXPECT_EQ(read_line(format_line("(削除) x", kOtherTextWidth, 99999)).slot, 99999);
  const LineTarget folder = read_line(format_line("(作成) x", kOtherTextWidth, 1000001));
  EXPECT_TRUE(folder.folder);
  EXPECT_EQ(folder.slot, 1);
  // Three spaces inside a path do not matter to the index.
  EXPECT_EQ(read_line(format_line("(削除) a   b", kOtherTextWidth, 42)).slot, 42);
  const LineTarget rename = read_line(format_line("(名前変更) x", kOtherTextWidth, 2000007));
  EXPECT_TRUE(rename.rename);
  EXPECT_FALSE(rename.folder);
  EXPECT_EQ(rename.slot, 7);
  // Nothing selected reads as file slot 0, which no table has.
  EXPECT_FALSE(read_line("").folder);
  EXPECT_FALSE(read_line("").rename);
  EXPECT_EQ(read_line("").slot, 0);
}

// A rename names the destination's entry in the source's spelling, after
// the copies and the folders to create.
TEST(ListLines, RenamesFollowInList1WithTheSourcesSpelling) {
  WorkTables tables;
  const std::string docs = std::string("p") + kPathSeparator + "Docs";
  tables.copies.append({docs + kPathSeparator + "a", "2024/05/01", ""});
  tables.new_folders.append("E:\\n");
  tables.renames.append({docs, "docs", true});
  tables.renames.append({docs + kPathSeparator + "b", "B", false});
  tables.renames.withdraw(2);
  const auto lines = list1_lines(tables, roots_to_drive());
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[2], format_line(std::string("(名前変更) E:") + kPathSeparator + docs,
                                  kOtherTextWidth, kRenameIndexBase + 1));
  EXPECT_TRUE(read_line(lines[2]).rename);
}

TEST(ListLines, WithdrawnSlotsHaveNoLineAndOthersKeepTheirIndex) {
  WorkTables tables;
  for (const char* path : {"E:\\a", "E:\\b", "E:\\c", "E:\\d"}) tables.deleted_files.append({path});
  tables.deleted_files.withdraw(2);
  tables.deleted_files.withdraw(3);
  tables.deleted_folders.append("E:\\f");
  const auto lines = list2_lines(tables);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(read_line(lines[0]).slot, 1);
  EXPECT_EQ(read_line(lines[1]).slot, 4);
  EXPECT_TRUE(read_line(lines[2]).folder);
}

TEST(WorkTables, FullTablesRaiseError9) {
  WorkTables tables;
  for (std::size_t i = 0; i < kMaxNewFolders; ++i) tables.new_folders.append("x");
  try {
    tables.new_folders.append("one too many");
    FAIL() << "no error";
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.number(), 9);
  }
  EXPECT_EQ(tables.new_folders.count(), kMaxNewFolders);
}

}  // namespace
}  // namespace tav
