// What a drive holds in its state folder is a stranger's input: crafted
// journals, links inside the state folder or the trees, and runs named to
// come last never make a run or an undo act outside the two trees.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/flow_texts.h"
#include "platform/system_faults.h"
#include "support/sample_trees.h"
#include "support/sync_fixture.h"
#include "volume_state/journal.h"
#include "volume_state/kept_runs.h"
#include "volume_state/record_file.h"
#include "volume_state/state_layout.h"

namespace tav {
namespace {

using test::kNew;
using test::kOld;
using test::TempTree;

class UntrustedState : public test::SyncTest {
 protected:
  UntrustedState() {
    outside.file("thesis.txt", "the user's thesis").file("empty/.keep", "");
    outside.folder("made");
    outside_before = outside.content();
  }

  // A run "→" that kept something, so that the drive holds a run of the pair.
  void a_real_run() {
    folder_side.file("p/a.txt", "new a", kNew);
    drive_side.file("p/a.txt", "old a", kOld);
    ASSERT_EQ(sync(Control::Button3), 0);
  }

  state::PairKey pair() const {
    Roots roots;
    roots.folder_path = folder_side.root();
    return state::pair_of(roots);
  }

  // A run's folder on the drive, of this pair, with a journal of these lines.
  std::string crafted_run(const std::string& lines, const std::string& name_time = "20991231-235959") {
    const std::string name = name_time + "-" + pair().id;
    drive_side.file(".tavrelon/kept/" + name + "/.tavrelon/journal",
                    "TAVRELON JOURNAL 1\t" + pair().id + "\tto-drive\n" + lines);
    return name;
  }

  // The undo command in a new start, OK to every question.
  void undo() {
    start_again().undo_command().answer(Answer::Ok).click(Control::Button4);
    run_again();
  }
  bool said_nothing_to_undo() {
    return !again().boxes().empty() && again().boxes()[0].text == flow_text::kNothingToUndo;
  }

  TempTree outside;
  TempTree::Content outside_before;
};

TEST_F(UntrustedState, AJournalNamingPathsOutsideTheTreeIsNeverActedOn) {
  a_real_run();
  const std::string up = "../../../../../../../../../../..";
  const std::string outside_rel = up + outside.root();
  for (const std::string& line :
       std::vector<std::string>{"file-kept\t" + outside_rel + "/thesis.txt\n", "folder-made\t" + outside_rel + "/empty\n",
        "folder-removed\t" + outside_rel + "/made/by/undo\n", "folder-made\t" + outside.root() + "\n",
        "file-kept\tp/a%00b\n", "file-kept\tp/a%0Ab\n", "file-kept\t" + std::string(300, 'x') + "\n"}) {
    SCOPED_TRACE(line);
    const std::string run = crafted_run("file-kept\tp/a.txt\n" + line);
    const auto before = drive_side.content();
    undo();
    EXPECT_TRUE(said_nothing_to_undo());
    EXPECT_EQ(drive_side.content(), before);
    EXPECT_EQ(outside.content(), outside_before);
    std::filesystem::remove_all(test::native(drive_side.path(".tavrelon/kept/" + run)));
  }
}

TEST_F(UntrustedState, LinksInTheRunFolderOrTheTreeAreNeverFollowed) {
  a_real_run();
  TempTree elsewhere;
  elsewhere.file("thesis.txt", "another folder's file");
  const auto elsewhere_before = elsewhere.content();
  const std::string run = crafted_run("file-kept\tlnk/thesis.txt\nfolder-made\tlnk\n", "20991231-235959");
  if (!test::make_folder_link(outside.root(), drive_side.path(".tavrelon/kept/" + run + "/lnk")) ||
      !test::make_folder_link(elsewhere.root(), drive_side.path("lnk"))) {
    GTEST_SKIP() << "this system makes no folder links";
  }
  undo();
  EXPECT_EQ(outside.content(), outside_before);
  EXPECT_EQ(elsewhere.content(), elsewhere_before);
}

TEST_F(UntrustedState, ALinkedStateFolderTakesNoWrite) {
  for (const char* linked : {".tavrelon", ".tavrelon/kept", ".tavrelon/records"}) {
    SCOPED_TRACE(linked);
    std::filesystem::remove_all(test::native(drive_side.path(".tavrelon")));
    if (std::string_view(linked) != ".tavrelon") drive_side.folder(".tavrelon");
    if (!test::make_folder_link(outside.root(), drive_side.path(linked))) {
      GTEST_SKIP() << "this system makes no folder links";
    }
    folder_side.file("p/new.txt", "new", kNew).file("p/a.txt", "newer", kNew);
    drive_side.file("p/a.txt", "old", kOld);
    const auto drive_before = drive_side.content();
    sync_again(Control::Button3);
    EXPECT_EQ(outside.content(), outside_before);
    EXPECT_EQ(drive_side.content(), drive_before);  // ended before its first change
    ASSERT_EQ(again().error_reports().size(), 1u);
    EXPECT_NE(again().error_reports()[0].text.find("[75]"), std::string::npos);
  }
}

// A refusal names our own line, also where the run's kept folder is made
// in place by the library.
TEST_F(UntrustedState, ARefusalAtTheFirstChangeNamesOurLine) {
  folder_side.file("p/a.txt", "new a", kNew);
  drive_side.file("p/a.txt", "old a", kOld);
  sys::FaultPlan refuse(sys::Call::MakeFolder, 1, sys::kWriteProtect);
  sync(Control::Button3);
  ASSERT_EQ(window.error_reports().size(), 1u);
  EXPECT_NE(window.error_reports()[0].text.find("run_keeping.cpp ["), std::string::npos)
      << window.error_reports()[0].text;
  EXPECT_NE(window.error_reports()[0].text.find("[73]"), std::string::npos);
}

TEST_F(UntrustedState, TheUndoChoosesTheRunByItsJournalsTimeNotItsName) {
  a_real_run();
  // Named to sort after the real run, its journal says it began long before.
  const std::string crafted = crafted_run("file-kept\tp/x.txt\n");
  drive_side.file(".tavrelon/kept/" + crafted + "/.tavrelon/journal",
                  "TAVRELON JOURNAL 1\t" + pair().id + "\tto-drive\tbegan\t1000000000\n");
  undo();
  EXPECT_EQ(drive_side.read("p/a.txt"), "old a");  // the real run was undone
}

}  // namespace
}  // namespace tav
