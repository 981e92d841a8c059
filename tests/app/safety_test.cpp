// Whole runs where the trees hold what could betray a user's trust: links
// on either side, a file standing against a folder, copies left by a killed
// run, files changed between the preview and the work, a failed allocation.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "platform/folder_reading.h"
#include "support/sample_trees.h"
#include "support/sync_fixture.h"

namespace tav {
namespace {

using test::kNew;
using test::kOld;
using test::TempTree;

class Safety : public test::SyncTest {
 protected:
  TempTree& source(Control arrow) { return source_side(arrow); }
  TempTree& destination(Control arrow) { return destination_side(arrow); }

  // A link on the destination side to a folder outside both trees receives
  // nothing, and stays.
  void expect_nothing_through_a_link(Control arrow) {
    TempTree outside;
    outside.file("old.txt", "outside");
    source(arrow).file("p/sub/new.txt", "n", kNew).file("p/x.txt", "x", kNew);
    destination(arrow).file("p/sub.txt", "o", kOld);
    if (!test::make_folder_link(outside.root(), destination(arrow).path("p/sub"))) {
      GTEST_SKIP() << "this system makes no links to folders here";
    }
    EXPECT_EQ(sync(arrow), 0);
    EXPECT_TRUE(destination(arrow).exists("p/x.txt"));  // the run went on
    EXPECT_FALSE(outside.exists("new.txt"));
    EXPECT_EQ(outside.read("old.txt"), "outside");
    const auto link = entry_at(destination(arrow).path("p/sub"));
    EXPECT_TRUE(link && link->link);  // still the link
  }
};

TEST_F(Safety, NothingIsWrittenThroughALinkOnTheDrive) {
  expect_nothing_through_a_link(Control::Button3);
}

TEST_F(Safety, NothingIsWrittenThroughALinkInTheFolder) {
  expect_nothing_through_a_link(Control::Button2);
}

TEST_F(Safety, ACopyLeftByAKilledRunNeverSpreads) {
  folder_side.file("p/.~tavrelon-77-0.tmp", "half").file("p/~tavrelon-77-1.tmp", "half")
      .file("p/real.txt", "r", kNew);
  drive_side.folder("p");
  scan(Control::Button3);
  EXPECT_EQ(texts(Control::List1),
            (std::vector<std::string>{"(作成) " + on_drive("p/real.txt") + "  (2024/05/01)→()"}));
}

TEST_F(Safety, ChangesAfterThePreviewAreKeptAndTold) {
  folder_side.file("p/a.txt", "new a", kNew).file("p/new.txt", "created", kNew)
      .file("p/gone.txt", "g", kNew).folder("p/old");
  drive_side.file("p/a.txt", "old a", kOld).file("p/old/del.txt", "to delete", kOld)
      .file("p/older/x.txt", "to delete", kOld);
  window.click(Control::Button3)
      .act([&] {
        drive_side.file("p/a.txt", "saved by the user", kOld);
        drive_side.file("p/new.txt", "made by the user", kOld);
        drive_side.file("p/old/del.txt", "saved again", kNew);
        std::filesystem::remove(test::native(folder_side.path("p/gone.txt")));
      })
      .click(Control::Button3)
      .click(Control::Button4);
  EXPECT_EQ(run(), 0);
  EXPECT_EQ(drive_side.read("p/a.txt"), "saved by the user");
  EXPECT_EQ(drive_side.read("p/new.txt"), "made by the user");
  EXPECT_EQ(drive_side.read("p/old/del.txt"), "saved again");
  EXPECT_FALSE(drive_side.exists("p/older"));  // unchanged: carried out
  ASSERT_EQ(window.boxes().size(), 1u);
  EXPECT_EQ(window.boxes()[0].caption, "処理完了！");
  EXPECT_EQ(window.boxes()[0].icon, Icon::Information);
  // One line per entry.
  std::vector<std::string> expected{
      on_drive("p/a.txt") + "（変更あり）", in_folder("p/gone.txt") + "（見つかりません）",
      on_drive("p/new.txt") + "（変更あり）", on_drive("p/old/del.txt") + "（変更あり）"};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(box_lines(window.boxes()[0], "次のファイルは検索した後に変更されたため、処理しませんでした"),
            expected);
  EXPECT_EQ(window.state(Control::Text1).text, "処理完了！　");
}

TEST_F(Safety, AFailedAllocationIsReportedAsError7) {
  window.run_out_of_memory();
  EXPECT_EQ(run(), 1);
  ASSERT_EQ(window.error_reports().size(), 1u);
  EXPECT_NE(window.error_reports()[0].text.find("]:エラー[7]\nメモリが不足しています。"),
            std::string::npos);
}

// A file on one side stands against a folder of the same name on the other.
struct Standing {
  Control arrow;
  bool file_on_source;  // else the folder is on the source side
  bool deletions;       // CHECK1 unticked
};

class FileAgainstFolder : public Safety, public testing::WithParamInterface<Standing> {};

TEST_P(FileAgainstFolder, TheWayIsClearedWhenItsDeletionIsMadeAndLeftOtherwise) {
  const Standing c = GetParam();
  TempTree& from = source(c.arrow);
  TempTree& to = destination(c.arrow);
  if (c.file_on_source) {
    from.file("p/x", "the file", kNew);
    to.file("p/x/inner.txt", "in the folder", kOld);
  } else {
    from.file("p/x/inner.txt", "in the folder", kNew);
    to.file("p/x", "the file", kOld);
  }
  from.file("p/other.txt", "o", kNew);
  window.click(c.arrow);
  if (!c.deletions) window.click(Control::Check1);
  window.click(c.arrow).click(Control::Button4);
  EXPECT_EQ(run(), 0);
  EXPECT_TRUE(window.error_reports().empty());
  EXPECT_TRUE(to.exists("p/other.txt"));  // the run went to its end
  if (c.deletions == c.file_on_source) {
    EXPECT_EQ(to.read("p/x"), "the file");
  } else {
    EXPECT_EQ(to.read("p/x/inner.txt"), "in the folder");
  }
  // Without deletions, what stood there stays as it was.
  if (!c.deletions) {
    EXPECT_EQ(to.exists("p/x/inner.txt"), c.file_on_source);
  }
}

INSTANTIATE_TEST_SUITE_P(BothWaysBothShapes, FileAgainstFolder,
                         testing::Values(Standing{Control::Button3, true, true},
                                         Standing{Control::Button3, false, true},
                                         Standing{Control::Button2, true, true},
                                         Standing{Control::Button2, false, true},
                                         Standing{Control::Button3, true, false},
                                         Standing{Control::Button2, false, false}));

}  // namespace
}  // namespace tav
