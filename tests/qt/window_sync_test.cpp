// Whole synchronisations driven through the real Qt window in this process:
// the user types the folder, picks the drive, presses an arrow, withdraws
// one entry, confirms; the trees are compared afterwards.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>

#include "app/settings_file.h"
#include "files/operations.h"
#include "qt_window_fixture.h"
#include "support/current_folder.h"
#include "support/sample_trees.h"
#include "support/test_drive.h"
#include "window_user.h"

namespace tav::test {
namespace {

// Every folder ("/" at its end) and file with its content, by relative path.
using TreeContent = TempTree::Content;

TreeContent content_of(const TempTree& tree) { return tree.content(); }

class WindowSync : public testing::Test {
 protected:
  WindowSync()
      : drive_side(drive.tree()),
        window(main_form(), test_exit()),
        user(window) {}

  // The sample trees, with a Japanese folder to create and a deletion that
  // the run withdraws.
  static void make_trees(TempTree& source, TempTree& destination) {
    make_sample_trees(source, destination);
    source.file("proj/日本語/表.txt", "表", kNew);
    destination.file("proj/kept.txt", "withdrawn", kOld);
  }

  // What the destination holds after the synchronisation, with the
  // deletion of proj/kept.txt withdrawn.
  static TreeContent synchronised_destination() {
    return {{"top.txt", "destination root file"},
            {"only_destination/", ""},
            {"only_destination/g.txt", "never deleted"},
            {"proj/", ""},
            {"proj/a.txt", "new a"},
            {"proj/same.txt", "same"},
            {"proj/new.txt", "created"},
            {"proj/kept.txt", "withdrawn"},
            {"proj/sub/", ""},
            {"proj/sub/n.txt", "in new folder"},
            {"proj/日本語/", ""},
            {"proj/日本語/表.txt", "表"}};
  }

  // Plays a whole run: folder, drive, the arrow, one withdrawal, the arrow
  // again and the last click. The exit code.
  int synchronise(Control arrow, const std::string& withdrawn_line) {
    user.type(Control::Edit1, folder_side.root())
        .choose_drive(drive.entry())
        .click(arrow)
        .double_click(Control::List2, withdrawn_line)
        .answer(Answer::Ok)
        .click(arrow)
        .click(Control::Button4);
    return run_to_end(window, {drive.drive()}, "tavrelon");
  }

  InTemporaryFolder here;  // the settings file lives here
  TempTree folder_side;
  TestDrive drive;
  TempTree& drive_side;
  qt::QtWindow window;
  WindowUser user;
};

TEST_F(WindowSync, FolderToDriveWithOneWithdrawal) {
  make_trees(folder_side, drive_side);
  const TreeContent source_before = content_of(folder_side);
  EXPECT_EQ(synchronise(Control::Button3, "(削除) " + drive.root() + "proj/kept.txt"), 0);
  EXPECT_EQ(content_of(drive_side), synchronised_destination());
  EXPECT_EQ(content_of(folder_side), source_before);
  ASSERT_EQ(user.boxes().size(), 1u);  // the confirmation of the withdrawal
  EXPECT_EQ(window.get_text(Control::Text1), "処理完了！　");
  EXPECT_EQ(window.get_text(Control::Button4), "終  了");
  EXPECT_EQ(here.tree.read(here.settings_file()), encode_settings({folder_side.root(), drive.entry()}));
}

TEST_F(WindowSync, DriveToFolderWithOneWithdrawal) {
  make_trees(drive_side, folder_side);
  const TreeContent source_before = content_of(drive_side);
  EXPECT_EQ(synchronise(Control::Button2, "(削除) " + folder_side.path("proj/kept.txt")), 0);
  EXPECT_EQ(content_of(folder_side), synchronised_destination());
  EXPECT_EQ(content_of(drive_side), source_before);
  EXPECT_FALSE(window.widget(Control::Button3)->isEnabled());
}

TEST_F(WindowSync, ClosingTheWindowInReviewEndsWithoutChangesOrSettings) {
  make_trees(folder_side, drive_side);
  const TreeContent before = content_of(drive_side);
  user.type(Control::Edit1, folder_side.root()).choose_drive(drive.entry()).click(Control::Button3);
  QTimer closer;
  QObject::connect(&closer, &QTimer::timeout, [this] {
    if (window.waiting() && window.list_item_text(Control::List1, 0) != "") {
      window.widget(Control::MainForm)->close();
    }
  });
  closer.start(5);
  EXPECT_EQ(run_to_end(window, {drive.drive()}, "tavrelon"), 0);
  EXPECT_EQ(content_of(drive_side), before);
  EXPECT_FALSE(here.tree.exists(here.settings_file()));
}

TEST_F(WindowSync, ClosingTheWindowDuringACopyAbandonsItAtOnceWhileTheWindowStays) {
  // Sparse: big enough to be closed in the middle of its copy, cheap to make.
  constexpr std::uintmax_t kSize = std::uintmax_t{1} << 30;
  folder_side.file("p/big.bin", "");
  std::filesystem::resize_file(native(folder_side.path("p/big.bin")), kSize);
  drive_side.file("p/big.bin", "old", kOld);
  user.type(Control::Edit1, folder_side.root()).choose_drive(drive.entry())
      .click(Control::Button3).click(Control::Button3);
  QTimer closer;
  std::optional<std::chrono::steady_clock::time_point> closed_at;
  bool shown_after_the_close = false;
  QObject::connect(&closer, &QTimer::timeout, [&] {
    QWidget* form = window.widget(Control::MainForm);
    if (!closed_at && window.get_text(Control::Text1).starts_with("更新処理中")) {
      form->close();
      closed_at = std::chrono::steady_clock::now();
      shown_after_the_close = form->isVisible();
    }
  });
  closer.start(5);
  EXPECT_EQ(run_to_end(window, {drive.drive()}, "tavrelon"), 0);
  ASSERT_TRUE(closed_at);
  // Loosely: the end comes without the rest of the copy.
  EXPECT_LT(std::chrono::steady_clock::now() - *closed_at, std::chrono::seconds(10));
  EXPECT_TRUE(shown_after_the_close);
  EXPECT_EQ(drive_side.read("p/big.bin"), "old");
  EXPECT_EQ(content_of(drive_side).size(), 2u);  // p/ and p/big.bin: nothing stray
  EXPECT_FALSE(std::filesystem::exists(here.settings_file()));
}

// Three starts over one pair: a run "→"; a file made on the drive since
// survives the next run, which names it; Ctrl+Z then undoes that run.
TEST_F(WindowSync, TheRecordKeepsWhatWasMadeOnTheDriveAndCtrlZUndoesTheLastRun) {
  folder_side.file("p/a.txt", "new a", kNew).file("p/b.txt", "b", kNew);
  drive_side.file("p/a.txt", "old a", kOld);
  user.type(Control::Edit1, folder_side.root()).choose_drive(drive.entry())
      .click(Control::Button3).click(Control::Button3).click(Control::Button4);
  ASSERT_EQ(run_to_end(window, {drive.drive()}, "tavrelon"), 0);
  user.leave();

  drive_side.file("p/made since.txt", "on the drive", kNew);
  folder_side.file("p/b.txt", "b again", LocalTime{2024, 5, 1, 10, 0, 20});
  qt::QtWindow second(main_form(), test_exit());
  WindowUser again(second);
  again.type(Control::Edit1, folder_side.root()).choose_drive(drive.entry())
      .click(Control::Button3).click(Control::Button3).click(Control::Button4);
  ASSERT_EQ(run_to_end(second, {drive.drive()}, "tavrelon"), 0);
  EXPECT_EQ(drive_side.read("p/made since.txt"), "on the drive");
  EXPECT_EQ(drive_side.read("p/b.txt"), "b again");
  ASSERT_FALSE(again.boxes().empty());
  EXPECT_TRUE(again.boxes()[0].starts_with("次のファイル・フォルダは前回の処理の後に")) << again.boxes()[0];

  again.leave();
  qt::QtWindow third(main_form(), test_exit());
  WindowUser undoing(third);
  undoing.type(Control::Edit1, folder_side.root()).choose_drive(drive.entry()).press_undo_key();
  ASSERT_EQ(run_to_end(third, {drive.drive()}, "tavrelon"), 0);
  ASSERT_EQ(undoing.boxes().size(), 1u);
  // As the first run left it, with what was made on the drive since.
  EXPECT_EQ(content_of(drive_side), (TreeContent{{"p/", ""},
                                                 {"p/a.txt", "new a"},
                                                 {"p/b.txt", "b"},
                                                 {"p/made since.txt", "on the drive"}}));
}

}  // namespace
}  // namespace tav::test
