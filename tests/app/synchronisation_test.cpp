// Whole runs of the program over real trees, in both directions.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/settings_file.h"
#include "files/operations.h"
#include "support/sample_trees.h"
#include "support/sync_fixture.h"

namespace tav {
namespace {

using test::kNew;
using test::kOld;
using test::LocalTime;

std::vector<std::string> sorted(std::vector<std::string> lines) {
  std::sort(lines.begin(), lines.end());
  return lines;
}

class Synchronisation : public test::SyncTest {
 protected:
  static void make_trees(test::TempTree& source, test::TempTree& destination) {
    test::make_sample_trees(source, destination);
  }

  void expect_synchronised(const test::TempTree& source, const test::TempTree& destination) {
    EXPECT_EQ(destination.read("proj/a.txt"), "new a");
    EXPECT_EQ(destination.read("proj/new.txt"), "created");
    EXPECT_EQ(destination.read("proj/sub/n.txt"), "in new folder");
    EXPECT_FALSE(destination.exists("proj/old.txt"));
    EXPECT_FALSE(destination.exists("proj/gone"));
    EXPECT_FALSE(destination.exists("only_source"));
    EXPECT_EQ(destination.read("only_destination/g.txt"), "never deleted");
    EXPECT_EQ(destination.read("top.txt"), "destination root file");
    EXPECT_EQ(source.read("top.txt"), "source root file");
    EXPECT_TRUE(source.exists("only_source/f.txt"));
  }
};

TEST_F(Synchronisation, RightArrowListsTheWork) {
  make_trees(folder_side, drive_side);
  scan(Control::Button3);
  const std::string d = drive_root();
  EXPECT_EQ(sorted(texts(Control::List1)),
            sorted({"(更新) " + d + native_rel("proj/a.txt") + "  (2024/05/01)→(2024/05/01)",
                    "(作成) " + d + native_rel("proj/new.txt") + "  (2024/05/01)→()",
                    "(作成) " + d + native_rel("proj/sub/n.txt") + "  (2024/05/01)→()",
                    "(作成) " + d + native_rel("proj/sub")}));
  EXPECT_EQ(texts(Control::List2),
            (std::vector<std::string>{"(削除) " + on_drive("proj/old.txt"),
                                      "(削除) " + on_drive("proj/gone/x.txt"),
                                      "(削除) " + on_drive("proj/gone")}));
  EXPECT_EQ(window.state(Control::Text1).text,
            "検索完了！　　再度 「方向ボタン」を押すと処理を開始します。Ｗクリックでリストの取消ができます。");
  EXPECT_TRUE(window.state(Control::Check1).enabled);
  EXPECT_FALSE(window.state(Control::Button1).enabled);
  EXPECT_FALSE(window.state(Control::Edit1).enabled);
  EXPECT_FALSE(window.state(Control::Combo1).enabled);
  // Stopped in review: nothing changed, no settings.
  EXPECT_TRUE(drive_side.exists("proj/old.txt"));
  EXPECT_FALSE(here.tree.exists(here.settings_file()));
}

TEST_F(Synchronisation, RightArrowCarriesItOut) {
  make_trees(folder_side, drive_side);
  EXPECT_EQ(sync(Control::Button3), 0);
  expect_synchronised(folder_side, drive_side);
  EXPECT_EQ(window.state(Control::Edit3).text, "作成or更新したファイル");
  EXPECT_EQ(window.state(Control::Edit4).text, "削除したファイル");
  EXPECT_EQ(window.state(Control::Text1).text, "処理完了！　");
  EXPECT_EQ(window.state(Control::Button4).text, "終  了");
  // LIST2 shows the order of the work: files, then folders children first.
  EXPECT_EQ(window.state(Control::List2).items,
            (std::vector<std::string>{"(削除) " + on_drive("proj/old.txt"),
                                      "(削除) " + on_drive("proj/gone/x.txt"),
                                      "(削除) " + on_drive("proj/gone")}));
  // A file listed as a creation is shown as an update while copied.
  const auto& done = window.state(Control::List1).items;
  EXPECT_NE(std::find(done.begin(), done.end(), "(更新) " + on_drive("proj/new.txt")), done.end());
  EXPECT_NE(std::find(done.begin(), done.end(), "(作成) " + on_drive("proj/sub")), done.end());
  EXPECT_EQ(here.tree.read(here.settings_file()),
            encode_settings({folder_side.root(), drive.entry()}));
}

TEST_F(Synchronisation, LeftArrowCarriesItOutTheOtherWay) {
  make_trees(drive_side, folder_side);
  scan(Control::Button2);
  const std::string f = folder_side.root_with_separator();
  EXPECT_EQ(sorted(texts(Control::List1)),
            sorted({"(更新) " + f + native_rel("proj/a.txt") + "  (2024/05/01)←(2024/05/01)",
                    "(作成) " + f + native_rel("proj/new.txt") + "  ()←(2024/05/01)",
                    "(作成) " + f + native_rel("proj/sub/n.txt") + "  ()←(2024/05/01)",
                    "(作成) " + f + native_rel("proj/sub")}));
  EXPECT_FALSE(window.state(Control::Button3).enabled);
}

TEST_F(Synchronisation, LeftArrowSynchronises) {
  make_trees(drive_side, folder_side);
  EXPECT_EQ(sync(Control::Button2), 0);
  expect_synchronised(drive_side, folder_side);
}

TEST_F(Synchronisation, TimeKeysDecideUpdates) {
  folder_side.file("p/equal", "s", kOld)
      .file("p/plus1", "s", {2024, 5, 1, 10, 0, 1})
      .file("p/plus3", "s", {2024, 5, 1, 10, 0, 3})
      .file("p/plus4", "s", kNew)
      .file("p/midnight", "s", {2024, 5, 2, 0, 0, 1})
      .file("p/older", "s", kOld)
      .file("p/sizes", "longer content", kOld);
  drive_side.file("p/equal", "d", kOld)
      .file("p/plus1", "d", kOld)
      .file("p/plus3", "d", kOld)
      .file("p/plus4", "d", kOld)
      .file("p/midnight", "d", {2024, 5, 1, 23, 59, 59})
      .file("p/older", "d", kNew)
      .file("p/sizes", "d", kOld);
  scan(Control::Button3);
  EXPECT_EQ(sorted(texts(Control::List1)),
            sorted({"(更新) " + on_drive("p/plus4") + "  (2024/05/01)→(2024/05/01)",
                    "(更新) " + on_drive("p/midnight") + "  (2024/05/02)→(2024/05/01)"}));
  EXPECT_TRUE(texts(Control::List2).empty());
  // Copies only: deletions cannot be left out of nothing.
  EXPECT_FALSE(window.state(Control::Check1).enabled);
}

TEST_F(Synchronisation, FileAgainstFolderOfTheSameName) {
  folder_side.file("p/x", "file on the source", kNew).folder("p/y");
  drive_side.folder("p/x").file("p/y", "file on the destination", kOld);
  scan(Control::Button3);
  // A name taken by a folder on the other side counts as missing there.
  EXPECT_EQ(sorted(texts(Control::List1)),
            sorted({"(作成) " + on_drive("p/x") + "  (2024/05/01)→()", "(作成) " + on_drive("p/y")}));
  EXPECT_EQ(texts(Control::List2),
            (std::vector<std::string>{"(削除) " + on_drive("p/y"), "(削除) " + on_drive("p/x")}));
}

TEST_F(Synchronisation, CaseOnlyDifferencesAreTheSameFileWhereTheSystemSaysSo) {
  if (kPathSeparator == '/') GTEST_SKIP() << "names differ by case on this system";
  folder_side.file("p/a.txt", "s", kNew);
  drive_side.file("p/A.TXT", "d", kOld);
  scan(Control::Button3);
  // One file: updated, and given the source's spelling by a rename.
  EXPECT_EQ(texts(Control::List1),
            (std::vector<std::string>{"(名前変更) " + on_drive("p/a.txt"),
                                      "(更新) " + on_drive("p/a.txt") +
                                          "  (2024/05/01)→(2024/05/01)"}));
  EXPECT_TRUE(texts(Control::List2).empty());
}

TEST_F(Synchronisation, JapaneseNamesWithTheBackslashByte) {
  folder_side.file("ソフト/表/能.txt", "content", kNew).file("ソフト/予定表.txt", "x", kNew);
  drive_side.folder("ソフト");
  EXPECT_EQ(sync(Control::Button3), 0);
  EXPECT_EQ(drive_side.read("ソフト/表/能.txt"), "content");
  EXPECT_EQ(drive_side.read("ソフト/予定表.txt"), "x");
}

TEST_F(Synchronisation, NoSubfolderEndsWithAMessageAndNoSettings) {
  folder_side.file("only-a-file.txt");
  drive_side.folder("d");
  window.click(Control::Button3);
  EXPECT_EQ(run(), 0);
  ASSERT_EQ(window.boxes().size(), 1u);
  EXPECT_EQ(window.boxes()[0].text, "照合先に対象となる親ディレクトリが存在しません");
  EXPECT_EQ(window.boxes()[0].caption, "サブディレクトリ検索");
  EXPECT_EQ(window.boxes()[0].icon, Icon::Exclamation);
  EXPECT_FALSE(here.tree.exists(here.settings_file()));
}

TEST_F(Synchronisation, NothingToDoShowsTheResultAndCompletes) {
  folder_side.file("p/same", "x", kOld);
  drive_side.file("p/same", "x", kOld);
  window.click(Control::Button3);
  EXPECT_EQ(run(), 0);
  ASSERT_EQ(window.boxes().size(), 1u);
  EXPECT_EQ(window.boxes()[0].text, "作成・更新・削除の対象となるファイルがありませんでした");
  EXPECT_EQ(window.boxes()[0].caption, "検索完了！");
  EXPECT_EQ(window.boxes()[0].icon, Icon::Information);
  EXPECT_EQ(window.texts(Control::Text1).back(), "処理完了！　");
  EXPECT_EQ(window.texts(Control::Text1)[window.texts(Control::Text1).size() - 2], "");
  EXPECT_TRUE(here.tree.exists(here.settings_file()));
  EXPECT_EQ(window.waits(), 1);  // no wait after completing with nothing done
}

TEST_F(Synchronisation, LeavingOutDeletions) {
  folder_side.file("p/new", "n", kNew);
  drive_side.file("p/old", "o", kOld).folder("p/gone");
  window.click(Control::Button3).click(Control::Check1).click(Control::Button3)
      .click(Control::Button4);
  EXPECT_EQ(run(), 0);
  EXPECT_TRUE(drive_side.exists("p/new"));
  EXPECT_TRUE(drive_side.exists("p/old"));
  EXPECT_TRUE(drive_side.exists("p/gone"));
  EXPECT_TRUE(window.state(Control::List2).items.empty());
}

TEST_F(Synchronisation, ProgressCountsSlotsWithWithdrawnOnesIncluded) {
  folder_side.file("p/1", "1", kNew).file("p/2", "2", kNew).file("p/3", "3", kNew);
  drive_side.folder("p");
  // LIST1 is sorted: row 1 holds the copy of p/2.
  window.click(Control::Button3).double_click(Control::List1, 1).click(Control::Button3)
      .click(Control::Button4);
  window.answer(Answer::Ok);
  EXPECT_EQ(run(), 0);
  EXPECT_FALSE(drive_side.exists("p/2"));
  EXPECT_TRUE(drive_side.exists("p/3"));
  const auto& progress = window.texts(Control::Text1);
  const std::vector<std::string> copying(std::find(progress.begin(), progress.end(),
                                                   "更新処理中    1 / 3"),
                                         progress.end() - 1);
  // Then the check reads each copy back, with a count of its own.
  EXPECT_EQ(copying, (std::vector<std::string>{"更新処理中    1 / 3", "更新処理中    3 / 3",
                                               "確認中    1 / 2", "確認中    2 / 2"}));
}

TEST_F(Synchronisation, EverythingWithdrawnDoesNothingAndStillWaits) {
  folder_side.file("p/new", "n", kNew);
  drive_side.file("p/old", "o", kOld);
  window.click(Control::Button3)
      .double_click(Control::List1, 0)
      .double_click(Control::List2, 0)
      .click(Control::Button3)
      .click(Control::Button4);
  window.answer(Answer::Ok).answer(Answer::Ok);
  EXPECT_EQ(run(), 0);
  EXPECT_FALSE(drive_side.exists("p/new"));
  EXPECT_TRUE(drive_side.exists("p/old"));
  EXPECT_TRUE(window.state(Control::List1).items.empty());
  EXPECT_EQ(window.state(Control::Button4).text, "終  了");
  EXPECT_EQ(window.waits(), 5);
}

TEST_F(Synchronisation, ClicksDuringTheScanActAtTheFirstWait) {
  folder_side.file("p/new", "n", kNew);
  drive_side.folder("p");
  window.click(Control::Button3).click_while_busy(Control::Button3, 1)
      .click(Control::Button4);
  EXPECT_EQ(run(), 0);
  EXPECT_TRUE(drive_side.exists("p/new"));  // the second press came during the scan
}

TEST_F(Synchronisation, StopDuringTheScanEndsAtOnceInReview) {
  folder_side.file("p/new", "n", kNew);
  drive_side.folder("p");
  window.click(Control::Button3).click_while_busy(Control::Button4, 1);
  EXPECT_EQ(run(), 0);
  EXPECT_FALSE(drive_side.exists("p/new"));
  EXPECT_EQ(window.state(Control::List1).items.size(), 1u);
  EXPECT_FALSE(here.tree.exists(here.settings_file()));
}

TEST_F(Synchronisation, FoldersWithLeadingBlanksKeepTheirNames) {
  // "　x" and "x" are different folders; the blank is part of the name.
  folder_side.file("proj/　x/f", "1").folder("proj/x");
  drive_side.folder("proj/x");
  EXPECT_EQ(sync(Control::Button3), 0);
  EXPECT_EQ(drive_side.read("proj/　x/f"), "1");
  EXPECT_FALSE(drive_side.exists("proj/x/f"));
}

}  // namespace
}  // namespace tav
