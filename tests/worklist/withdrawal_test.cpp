// Withdrawing entries by double-click, through whole runs of the program.
#include "worklist/withdrawal.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "files/operations.h"
#include "platform/folder_reading.h"
#include "platform/local_time.h"
#include "support/sync_fixture.h"

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

}  // namespace
}  // namespace tav
