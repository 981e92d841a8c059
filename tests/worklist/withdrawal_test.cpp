// Withdrawing entries by double-click, through whole runs of the program.
#include "worklist/withdrawal.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "files/operations.h"
#include "platform/folder_reading.h"
#include "platform/local_time.h"
#include "support/sync_fixture.h"
#include "support/temp_tree.h"

namespace tav {
namespace {

class Withdrawal : public test::SyncTest {
 protected:
  // The row of a list whose text starts as given.
  int row_of(Control list, const std::string& text_start) const {
    const auto& items = window.state(list).items;
    for (std::size_t row = 0; row < items.size(); ++row) {
      if (items[row].starts_with(text_start)) return static_cast<int>(row);
    }
    ADD_FAILURE() << "no row starts with " << text_start;
    return -1;
  }
};

TEST_F(Withdrawal, CancelKeepsEverythingButRebuildsTheList) {
  folder_side.file("p/a", "a").file("p/b", "b");
  drive_side.folder("p");
  window.click(Control::Button3).double_click(Control::List1, 0).click(Control::Button3)
      .click(Control::Button4);
  window.answer(Answer::Cancel);
  EXPECT_EQ(run(), 0);
  ASSERT_EQ(window.boxes().size(), 1u);
  EXPECT_EQ(window.boxes()[0].caption, "下記の選択ファイルをリストからはずしますか");
  EXPECT_EQ(window.boxes()[0].buttons, Buttons::OkCancel);
  EXPECT_EQ(window.boxes()[0].icon, Icon::Question);
  EXPECT_TRUE(drive_side.exists("p/a"));
  EXPECT_TRUE(drive_side.exists("p/b"));
}

TEST_F(Withdrawal, NothingSelectedAsksAboutNothingAndChangesNothing) {
  folder_side.file("p/a", "a");
  drive_side.folder("p");
  window.click(Control::Button3).double_click(Control::List2, -1).click(Control::Button3)
      .click(Control::Button4);
  window.answer(Answer::Ok);
  EXPECT_EQ(run(), 0);
  ASSERT_EQ(window.boxes().size(), 1u);
  EXPECT_EQ(window.boxes()[0].text, "");
  EXPECT_TRUE(drive_side.exists("p/a"));
}

TEST_F(Withdrawal, TheBoxShowsTheWholeEntry) {
  // Three spaces inside the name used to cut the text shown.
  folder_side.folder("p/deep   name " + std::string(120, 'n'));
  drive_side.folder("p");
  window.click(Control::Button3).double_click(Control::List1, 0).click(Control::Button4);
  window.answer(Answer::Cancel);
  run();
  ASSERT_EQ(window.boxes().size(), 1u);
  EXPECT_EQ(window.boxes()[0].caption, "下記の選択フォルダをリストからはずしますか");
  EXPECT_EQ(window.boxes()[0].text, "(作成) " + on_drive("p/deep   name " + std::string(120, 'n')) +
                                        std::string(kFolderNote));
}

TEST_F(Withdrawal, ANewFolderTakesEverythingBelowItButNotItsSiblings) {
  folder_side.file("proj/a/f1", "1").file("proj/a/b/f2", "2").file("proj/ab/f3", "3");
  drive_side.folder("proj");
  window.click(Control::Button3)
      .double_click(Control::List1, "(作成) " + on_drive("proj/a") + " ")
      .click(Control::Button3)
      .click(Control::Button4);
  window.answer(Answer::Ok);
  // Before, the sub-folder proj/a/b stayed listed and its creation failed
  // without its parent, and the sibling proj/ab was withdrawn too.
  EXPECT_EQ(run(), 0);
  EXPECT_TRUE(window.error_reports().empty());
  EXPECT_FALSE(drive_side.exists("proj/a"));
  EXPECT_EQ(drive_side.read("proj/ab/f3"), "3");
  ASSERT_EQ(window.boxes().size(), 1u);
  EXPECT_TRUE(window.boxes()[0].text.ends_with("\r\r選択フォルダ内のファイルもリストからはずれます"));
}

TEST_F(Withdrawal, AFolderToDeleteTakesEverythingBelowIt) {
  folder_side.folder("proj");
  drive_side.file("proj/old/x", "x").file("proj/old/sub/y", "y").file("proj/older/z", "z");
  window.click(Control::Button3)
      .double_click(Control::List2, "(削除) " + on_drive("proj/old") + " ")
      .click(Control::Button3)
      .click(Control::Button4);
  window.answer(Answer::Ok);
  EXPECT_EQ(run(), 0);
  EXPECT_TRUE(window.error_reports().empty());
  EXPECT_EQ(drive_side.read("proj/old/x"), "x");
  EXPECT_EQ(drive_side.read("proj/old/sub/y"), "y");
  EXPECT_FALSE(drive_side.exists("proj/older"));
}

TEST_F(Withdrawal, KeepingAFileKeepsTheFoldersAroundIt) {
  folder_side.folder("proj");
  drive_side.file("proj/old/sub/keep", "k").file("proj/old/sub/drop", "d").file("proj/old/x", "x");
  window.click(Control::Button3)
      .double_click(Control::List2, "(削除) " + on_drive("proj/old/sub/keep") + " ")
      .click(Control::Button3)
      .click(Control::Button4);
  window.answer(Answer::Ok);
  // Before, the removal of proj/old/sub met the kept file and failed.
  EXPECT_EQ(run(), 0);
  EXPECT_TRUE(window.error_reports().empty());
  EXPECT_EQ(drive_side.read("proj/old/sub/keep"), "k");
  EXPECT_FALSE(drive_side.exists("proj/old/sub/drop"));
  EXPECT_FALSE(drive_side.exists("proj/old/x"));
}

TEST_F(Withdrawal, AFileEntryAlone) {
  folder_side.file("p/a", "a").file("p/b", "b");
  drive_side.folder("p");
  window.click(Control::Button3)
      .double_click(Control::List1, "(作成) " + on_drive("p/a") + " ")
      .click(Control::Button3)
      .click(Control::Button4);
  window.answer(Answer::Ok);
  EXPECT_EQ(run(), 0);
  ASSERT_EQ(window.boxes().size(), 1u);
  EXPECT_EQ(window.boxes()[0].text,
            "(作成) " + on_drive("p/a") + "  (" + date_text(local_stamp(entry_at(in_folder("p/a"))->written.seconds)) + ")→()");
  EXPECT_FALSE(drive_side.exists("p/a"));
  EXPECT_TRUE(drive_side.exists("p/b"));
}

// A folder's name in another Unicode form on the drive (as a Mac writes
// "が"): its rename is a folder's line, and leaves with the update below it,
// which is written in the spelling the rename gives.
TEST_F(Withdrawal, ARenameLeavesWithWhatIsWrittenInItsSpelling) {
  folder_side.file("p/\u304C/x.txt", "new", test::LocalTime{2024, 5, 1, 10, 0, 4});
  drive_side.file("p/\u304B\u3099/x.txt", "old", test::LocalTime{2024, 5, 1, 10, 0, 0});
  window.click(Control::Button3)
      .double_click(Control::List1, "(名前変更) ")
      .click(Control::Button4);
  window.answer(Answer::Ok);
  EXPECT_EQ(run(), 0);
  ASSERT_EQ(window.boxes().size(), 1u);
  EXPECT_EQ(window.boxes()[0].caption, "下記の選択フォルダをリストからはずしますか");
  EXPECT_EQ(window.boxes()[0].text, "(名前変更) " + on_drive("p/\u304C") + std::string(kFolderNote));
  EXPECT_TRUE(window.state(Control::List1).items.empty());
}

// Withdrawn by slot, a rename takes along every entry at or below its path
// in either list, and nothing beside it.
TEST(WithdrawRename, TakesAlongWhatIsWrittenInTheSpellingItGives) {
  const auto native = test::native_rel;
  Roots roots;
  roots.folder_root = native("/folder/");
  roots.drive_root = native("/drive/");
  WorkTables tables;
  tables.renames.append({native("p/Docs"), "docs", true});
  tables.renames.append({native("p/Docs/b"), "B", false});
  tables.renames.append({native("p/r.txt"), "R.txt", false});
  for (const char* copy : {"p/Docs/a", "p/Docs/b", "p/Docsx", "p/r.txt"}) {
    tables.copies.append({native(copy), "2024/05/01", ""});
  }
  tables.new_folders.append(roots.drive_root + native("p/Docs/n"));
  tables.deleted_files.append({roots.drive_root + native("p/Docs/old")});
  tables.deleted_folders.append(roots.drive_root + native("p/Docs/gone"));
  withdraw_rename(tables, 1, roots);
  const auto listed = [](const auto& table) {
    std::vector<std::size_t> slots;
    for (const auto& [slot, entry] : table.listed()) slots.push_back(slot);
    return slots;
  };
  EXPECT_EQ(listed(tables.renames), std::vector<std::size_t>{3});
  EXPECT_EQ(listed(tables.copies), (std::vector<std::size_t>{3, 4}));
  EXPECT_TRUE(listed(tables.new_folders).empty());
  EXPECT_TRUE(listed(tables.deleted_files).empty());
  EXPECT_TRUE(listed(tables.deleted_folders).empty());
  withdraw_rename(tables, 3, roots);  // a file's rename takes its update along
  EXPECT_EQ(listed(tables.copies), std::vector<std::size_t>{3});
}

}  // namespace
}  // namespace tav
