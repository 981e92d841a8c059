// The execution over real trees, through the scripted window: what it
// leaves is named with its reason and never shown as done, a stop takes
// effect in the middle of a copy, and the last flush is checked.
#include "worklist/execution.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/system_faults.h"
#include "support/sample_trees.h"
#include "support/sync_fixture.h"

namespace tav {
namespace {

using test::kNew;
using test::kOld;
using test::TempTree;

class Execution : public test::SyncTest, public testing::WithParamInterface<Control> {
 protected:
  Control arrow() const { return GetParam(); }
  TempTree& from() { return source_side(arrow()); }
  TempTree& to() { return destination_side(arrow()); }
  // The lines the execution gave a list (they have no index field).
  std::vector<std::string> lines_of(Control list) {
    auto lines = window.state(list).items;
    std::sort(lines.begin(), lines.end());
    return lines;
  }
};

TEST_P(Execution, EveryEntryLeftIsNamedWithItsReasonAndNoneIsShownAsDone) {
  from().file("p/ok.txt", "copied", kNew).file("p/c.txt", "new c", kNew)
      .file("p/n.txt", "new n", kNew).file("p/m.txt", "new m", kNew)
      .file("p/ff", "a file", kNew).file("p/fd/x.txt", "x", kNew).folder("p/nf");
  to().file("p/c.txt", "old c", kOld).file("p/ff/in.txt", "in", kOld).file("p/fd", "a file", kOld)
      .file("p/del.txt", "d", kOld).file("p/d.txt", "d", kOld).file("p/g.txt", "g", kOld)
      .file("p/rf/a", "a", kOld).file("p/rh/b", "b", kOld).folder("p/rm");
  // Left in place at the review: the file standing where a folder is to be
  // made, and the folder standing where a file is to be copied.
  window.click(arrow())
      .double_click(Control::List2, "(削除) " + to().path("p/fd") + " ")
      .double_click(Control::List2, "(削除) " + to().path("p/ff") + " ")
      .act([&] {
        to().file("p/c.txt", "saved again", kOld).file("p/n.txt", "made meanwhile", kOld)
            .folder("p/nf").file("p/d.txt", "saved again", kOld).file("p/rf/new.txt", "new", kOld)
            .file("p/rh/b", "saved again", kOld);
        std::filesystem::remove(test::native(from().path("p/m.txt")));
        std::filesystem::remove(test::native(to().path("p/g.txt")));
        std::filesystem::remove(test::native(to().path("p/rm")));
      })
      .click(arrow())
      .click(Control::Button4);
  EXPECT_EQ(run(), 0);
  ASSERT_EQ(window.boxes().size(), 3u);  // two withdrawals, then the end
  std::vector<std::string> expected{
      to().path("p/c.txt") + "（変更あり）",
      to().path("p/n.txt") + "（変更あり）",
      from().path("p/m.txt") + "（見つかりません）",
      to().path("p/nf") + "（変更あり）",
      to().path("p/fd") + "（同名のファイルを削除しないため）",
      to().path("p/fd/x.txt") + "（フォルダを作成しないため）",
      to().path("p/ff") + "（同名のフォルダを削除しないため）",
      to().path("p/d.txt") + "（変更あり）",
      to().path("p/g.txt") + "（見つかりません）",
      to().path("p/rf") + "（検索後に追加されたファイルあり）",
      to().path("p/rh/b") + "（変更あり）",
      to().path("p/rh") + "（残したファイルあり）",
      to().path("p/rm") + "（見つかりません）",
  };
  std::sort(expected.begin(), expected.end());
  const test::ShownBox& box = window.boxes()[2];
  EXPECT_EQ(box.caption, "処理完了！");
  EXPECT_EQ(box_lines(box, "次のファイル・フォルダは処理しませんでした"), expected);
  EXPECT_EQ(lines_of(Control::List1), std::vector<std::string>{"(更新) " + to().path("p/ok.txt")});
  EXPECT_EQ(lines_of(Control::List2),
            (std::vector<std::string>{"(削除) " + to().path("p/del.txt"),
                                      "(削除) " + to().path("p/rf/a")}));
  EXPECT_EQ(to().read("p/ok.txt"), "copied");
  EXPECT_EQ(to().read("p/c.txt"), "saved again");
  EXPECT_EQ(to().read("p/ff/in.txt"), "in");
  EXPECT_EQ(to().read("p/fd"), "a file");
  EXPECT_EQ(to().read("p/rh/b"), "saved again");
  EXPECT_EQ(window.state(Control::Text1).text, "処理完了！　");
}

INSTANTIATE_TEST_SUITE_P(BothWays, Execution, TAV_BOTH_ARROWS);

// How a user stops a run while it works.
enum class Stop { Button4, Close };

class StoppedExecution : public test::SyncTest, public testing::WithParamInterface<Stop> {};

TEST_P(StoppedExecution, TakesEffectInTheMiddleOfACopyAndEndsWithoutSettings) {
  // The folder p/sub is made, then p/a.txt is copied (one chunk), then
  // p/sub/big.bin (sparse, many chunks): each step and each chunk lets the
  // window's events through once.
  folder_side.file("p/a.txt", "new a", kNew).file("p/sub/big.bin", "");
  std::filesystem::resize_file(test::native(folder_side.path("p/sub/big.bin")), 16 << 20);
  drive_side.file("p/a.txt", "old a", kOld).file("p/old.txt", "to delete", kOld);
  constexpr int kSecondChunkOfTheBigCopy = 5;
  window.click(Control::Button3).click(Control::Button3);
  if (GetParam() == Stop::Button4) {
    window.click_while_busy(Control::Button4, 2, kSecondChunkOfTheBigCopy);
  } else {
    window.close_while_busy(2, kSecondChunkOfTheBigCopy);
  }
  EXPECT_EQ(run(), 0);
  EXPECT_TRUE(window.boxes().empty());
  EXPECT_EQ(drive_side.read("p/a.txt"), "new a");  // finished before the stop: placed
  EXPECT_FALSE(drive_side.exists("p/sub/big.bin"));
  EXPECT_TRUE(drive_side.exists("p/sub"));
  EXPECT_EQ(drive_side.read("p/old.txt"), "to delete");
  EXPECT_EQ(window.state(Control::List1).items,
            (std::vector<std::string>{"(作成) " + on_drive("p/sub"), "(更新) " + on_drive("p/a.txt")}));
  EXPECT_NE(window.state(Control::Text1).text, "処理完了！　");
  EXPECT_FALSE(here.tree.exists(here.settings_file()));
  std::vector<ListedEntry> entries;
  read_folder(drive_side.path("p/sub"), entries);
  EXPECT_TRUE(entries.empty());  // no temporary file either
}

INSTANTIATE_TEST_SUITE_P(ByButtonOrClose, StoppedExecution, testing::Values(Stop::Button4, Stop::Close));

class LastFlush : public test::SyncTest {};

TEST_F(LastFlush, AFailureIsReportedAndNothingSaysDone) {
  folder_side.file("p/a.txt", "new a", kNew);
  drive_side.folder("p");
  // The batch's flush first, then the flush of the renames.
  const sys::FaultPlan plan(sys::Call::Flush, 2, sys::kIoDevice);
  EXPECT_EQ(sync(Control::Button3), 1);
  EXPECT_TRUE(plan.struck());
  ASSERT_EQ(window.error_reports().size(), 1u);
  EXPECT_NE(window.error_reports()[0].text.find("エラー[27]"), std::string::npos);
  EXPECT_EQ(std::ranges::count(window.texts(Control::Text1), "処理完了！　"), 0);
  EXPECT_FALSE(here.tree.exists(here.settings_file()));
}

}  // namespace
}  // namespace tav
