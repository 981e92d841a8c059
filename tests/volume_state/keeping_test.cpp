// Whole runs that keep what they delete or replace: the kept files' bytes
// and times, old kept runs released sparing the latest, the free-space
// question that offers releasing them, and the undo of a pair's last run.
#include "volume_state/run_keeping.h"

#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>

#include "app/flow_texts.h"
#include "files/operations.h"
#include "platform/system_faults.h"
#include "support/expect_error.h"
#include "support/killed_child.h"
#include "support/sample_trees.h"
#include "support/sync_fixture.h"
#include "volume_state/kept_run.h"
#include "volume_state/kept_runs.h"
#include "volume_state/state_layout.h"
#include "volume_state/undo.h"

namespace tav {
namespace {

using test::kNew;
using test::kOld;
using test::LocalTime;
using test::TempTree;

LocalTime days_ago(int days) {
  const std::time_t when = std::time(nullptr) - std::time_t{days} * 24 * 3600;
  const std::tm local = *std::localtime(&when);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
          local.tm_sec};
}

std::vector<std::string> run_names(const std::string& root) {
  std::vector<std::string> names;
  for (const auto& run : state::kept_runs(root)) names.push_back(run.name);
  return names;
}

// A kept run of another pair, written days ago, holding a file of size bytes.
std::string kept_run(TempTree& side, int day, int days_old, std::size_t size = 1) {
  const std::string name = "202401" + std::string(day < 10 ? "0" : "") + std::to_string(day) +
                           "-120000-00000000000000ab";
  const std::string rel = ".tavrelon/kept/" + name;
  side.file(rel + "/p/kept.bin", std::string(size, 'k'));
  test::set_local_write_time(side.path(rel), days_ago(days_old));
  return name;
}

class Keeping : public test::SyncTest, public testing::WithParamInterface<Control> {
 protected:
  TempTree& from() { return source_side(GetParam()); }
  TempTree& to() { return destination_side(GetParam()); }
};

TEST_P(Keeping, DeletedAndReplacedFilesAreKeptWithTheirBytesAndTimes) {
  from().file("p/a.txt", "new a", kNew);
  to().file("p/a.txt", "old a", kOld).file("p/sub/gone.txt", "to delete", kOld);
  ASSERT_EQ(sync(GetParam()), 0);
  const auto runs = state::kept_runs(to().root_with_separator());
  ASSERT_EQ(runs.size(), 1u);
  const std::string run = ".tavrelon/kept/" + runs[0].name + "/";
  EXPECT_EQ(to().read("p/a.txt"), "new a");
  EXPECT_EQ(to().read(run + "p/a.txt"), "old a");
  EXPECT_EQ(to().read(run + "p/sub/gone.txt"), "to delete");
  EXPECT_FALSE(to().exists("p/sub"));
  EXPECT_TRUE(test::is_hidden(to().path(".tavrelon")));
  const auto kept = entry_at(to().path(run + "p/sub/gone.txt"));
  const auto made = entry_at(from().path("p/a.txt"));
  ASSERT_TRUE(kept && made);
  EXPECT_LT(kept->written, made->written);  // the old file's own time, kOld
  const auto journal = state::journal_of(runs[0]);
  ASSERT_TRUE(journal);
  EXPECT_EQ(journal->to_drive, GetParam() == Control::Button3);
  EXPECT_EQ(journal->entries.size(), 4u);  // writing, replaced, kept, folder removed
}

// A folder whose every entry goes is kept by one rename; a stop at any
// deletion still lists exactly what went, and the undo puts it all back.
TEST_P(Keeping, AFolderGoesWholeAndAStopListsExactlyWhatWent) {
  const std::vector<std::string> gone{"p/w/one.txt", "p/w/sub/two.txt", "p/w/sub", "p/w/empty",
                                      "p/w", "p/z.txt"};
  for (int drains = 0; drains < 6; ++drains) {
    SCOPED_TRACE("stopped after " + std::to_string(drains) + " steps");
    folder_side.remove_contents();
    drive_side.remove_contents();
    from().file("p/stays.txt", "stays", kOld);
    to().file("p/stays.txt", "stays", kOld).file("p/w/one.txt", "1", kOld)
        .file("p/w/sub/two.txt", "2", kOld).folder("p/w/empty").file("p/z.txt", "z", kOld);
    const auto before = to().content();
    start_again().click(GetParam()).click(GetParam());
    again().click_while_busy(Control::Button4, 2, drains);
    ASSERT_EQ(run_again(), 0);
    const auto& listed = again().state(Control::List2).items;
    const auto runs = state::kept_runs(to().root_with_separator());
    const std::string kept = runs.empty() ? "" : ".tavrelon/kept/" + runs.back().name + "/";
    for (const std::string& rel : gone) {
      const bool went = !to().exists(rel);
      const bool shown = std::ranges::find(listed, "(削除) " + to().path(rel)) != listed.end();
      EXPECT_EQ(went, shown) << rel;
      if (went && rel.ends_with(".txt")) {
        EXPECT_TRUE(to().exists(kept + rel)) << rel;
      }
    }
    // Whole: the empty folder goes with the first file.
    EXPECT_EQ(to().exists("p/w/empty"), to().exists("p/w/one.txt"));
    start_again().undo_command().answer(Answer::Ok).click(Control::Button4);
    ASSERT_EQ(run_again(), 0);
    EXPECT_EQ(to().content(), before);
  }
}

INSTANTIATE_TEST_SUITE_P(BothWays, Keeping, TAV_BOTH_ARROWS);

// A last run with every kind of change, then its undo in a new start.
class Undo : public Keeping {
 protected:
  void SetUp() override {
    from().file("p/a.txt", "new a", kNew).file("p/new.txt", "made", kNew)
        .file("p/made/n.txt", "in a made folder", kNew);
    to().file("p/a.txt", "old a", kOld).file("p/gone.txt", "to delete", kOld)
        .file("p/sub/gone.txt", "to delete", kOld);
    before = to().content();
    source_before = from().content();
  }

  // The undo command and its box answered; the program ends after an undo,
  // and the click ends it where it stays in the selection state.
  int undo(Answer answer = Answer::Ok) {
    start_again().undo_command().answer(answer).click(Control::Button4);
    const int exit_code = run_again();
    for (const auto& report : again().error_reports()) ADD_FAILURE() << report.text;
    return exit_code;
  }
  std::string at(std::string_view rel) { return to().path(rel); }
  bool holds_a_temporary_file() {
    for (const auto& [path, bytes] : to().content()) {
      if (is_temporary_name(path.substr(path.find_last_of('/') + 1))) return true;
    }
    return false;
  }

  TempTree::Content before, source_before;
};

TEST_P(Undo, PutsTheDestinationBackByteForByteOnlyOnOkAndOnlyOnce) {
  const auto written = entry_at(at("p/a.txt"))->written;
  ASSERT_EQ(sync(GetParam()), 0);
  const auto after_run = to().content();
  ASSERT_NE(after_run, before);

  ASSERT_EQ(undo(Answer::Cancel), 0);
  EXPECT_EQ(to().content(), after_run);

  ASSERT_EQ(undo(), 0);
  EXPECT_EQ(to().content(), before);
  EXPECT_EQ(from().content(), source_before);
  EXPECT_EQ(entry_at(at("p/a.txt"))->written, written);
  // What the run placed and the source still holds is not kept again: the
  // undo gives back the room the run took.
  for (const auto& run : state::kept_runs(to().root_with_separator())) {
    if (!run.run.undo) continue;
    for (const char* placed : {"p/new.txt", "p/made/n.txt", "p/a.txt"}) {
      EXPECT_FALSE(to().exists(".tavrelon/kept/" + run.name + "/" + placed)) << placed;
    }
  }
  ASSERT_FALSE(again().boxes().empty());
  const test::ShownBox& box = again().boxes()[0];
  EXPECT_EQ(box.caption, flow_text::kUndoCaption);
  EXPECT_EQ(box_lines(box, flow_text::kUndoLead),
            (std::vector<std::string>{"(削除) " + at("p/made"), "(削除) " + at("p/made/n.txt"),
                                      "(削除) " + at("p/new.txt"), "(戻す) " + at("p/a.txt"),
                                      "(戻す) " + at("p/gone.txt"), "(戻す) " + at("p/sub")}));

  ASSERT_EQ(undo(), 0);
  EXPECT_EQ(again().boxes().back().text, flow_text::kNothingToUndo);
  EXPECT_EQ(to().content(), before);

  // The record went back with the files: the next run sees what it saw at
  // first and does the same again.
  ASSERT_EQ(sync_again(GetParam()), 0);
  EXPECT_EQ(to().content(), after_run);
}

TEST_P(Undo, LeavesAndNamesWhatChangedSinceTheRun) {
  ASSERT_EQ(sync(GetParam()), 0);
  to().file("p/new.txt", "edited since", kNew).file("p/gone.txt", "made again since", kNew);
  // The same size and time as the run placed it, other bytes: still its own.
  to().file("p/made/n.txt", "IN A MADE FOLDER", kNew);
  ASSERT_EQ(undo(), 0);
  EXPECT_EQ(to().read("p/new.txt"), "edited since");
  EXPECT_EQ(to().read("p/gone.txt"), "made again since");
  EXPECT_EQ(to().read("p/a.txt"), "old a");
  EXPECT_FALSE(to().exists("p/made"));
  // The question names only what the undo does; the end names what it left.
  EXPECT_EQ(box_lines(again().boxes()[0], flow_text::kUndoLead),
            (std::vector<std::string>{"(削除) " + at("p/made"), "(削除) " + at("p/made/n.txt"),
                                      "(戻す) " + at("p/a.txt"), "(戻す) " + at("p/sub")}));
  const std::string& closing = again().boxes().back().text;
  for (const char* left : {"p/new.txt", "p/gone.txt"}) {
    EXPECT_NE(closing.find(at(left) + "（処理の後に変更されたため）"), std::string::npos) << closing;
  }
  // What the undo could not put back stays kept.
  bool kept = false;
  for (const auto& run : state::kept_runs(to().root_with_separator())) {
    kept = kept || to().exists(".tavrelon/kept/" + run.name + "/p/gone.txt");
  }
  EXPECT_TRUE(kept);
}

TEST_P(Undo, AfterAKillMidRunPutsBackAsFarAsTheRunWent) {
  for (const std::size_t renames : {1, 3, 5}) {
    SCOPED_TRACE("killed at rename " + std::to_string(renames));
    folder_side.remove_contents();
    drive_side.remove_contents();
    SetUp();
    const auto killed = test::killed_in_child([&] {
      sys::FaultPlan plan(sys::Call::Rename, renames, sys::kIoDevice);
      plan.end_process_there(test::kill_this_process);
      sync(GetParam());
    });
    if (!killed) GTEST_SKIP() << "this system starts no child that shares the test's state";
    ASSERT_TRUE(*killed);
    ASSERT_EQ(undo(), 0);
    EXPECT_EQ(to().content(), before);
    EXPECT_FALSE(holds_a_temporary_file());
  }
}

// A copy cut short by a kill is no one's work: the next run clears it
// without listing or keeping it, and so does an undo.
TEST_P(Undo, ACopyCutShortLeavesNoTemporaryFileBehind) {
  for (const bool next_run : {true, false}) {
    SCOPED_TRACE(next_run ? "the next run" : "an undo");
    // Killed at the first write that leaves a copy half written.
    for (std::size_t write = 1; write < 10 && !holds_a_temporary_file(); ++write) {
      folder_side.remove_contents();
      drive_side.remove_contents();
      SetUp();
      const auto killed = test::killed_in_child([&] {
        sys::FaultPlan plan(sys::Call::Write, write, sys::kIoDevice);
        plan.end_process_there(test::kill_this_process);
        sync(GetParam());
      });
      if (!killed) GTEST_SKIP() << "this system starts no child that shares the test's state";
    }
    ASSERT_TRUE(holds_a_temporary_file());
    if (next_run) {
      ASSERT_EQ(sync_again(GetParam()), 0);
      for (const auto& line : again().state(Control::List2).items) {
        EXPECT_EQ(line.find(".tmp"), std::string::npos) << line;
      }
    } else {
      ASSERT_EQ(undo(), 0);
      EXPECT_EQ(to().content(), before);
    }
    EXPECT_FALSE(holds_a_temporary_file());
  }
}

// First-level folders may bear the names of a run's own files.
TEST_P(Undo, KeepsFoldersNamedAsTheRunsOwnFiles) {
  from().file("journal/j.txt", "new j", kNew).file("record/stays.txt", "stays", kOld);
  to().file("journal/j.txt", "old j", kOld).file("record/stays.txt", "stays", kOld)
      .file("record/r.txt", "to delete", kOld);
  before = to().content();
  ASSERT_EQ(sync(GetParam()), 0);
  EXPECT_EQ(to().read("journal/j.txt"), "new j");
  const auto runs = state::kept_runs(to().root_with_separator());
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(to().read(".tavrelon/kept/" + runs[0].name + "/record/r.txt"), "to delete");
  EXPECT_EQ(to().read(".tavrelon/kept/" + runs[0].name + "/journal/j.txt"), "old j");
  ASSERT_EQ(undo(), 0);
  EXPECT_EQ(to().content(), before);
}

// A stored run may hold its own files beside the kept ones.
TEST_P(Undo, ReadsARunKeptWithItsOwnFilesBeside) {
  ASSERT_EQ(sync(GetParam()), 0);
  const std::string run = ".tavrelon/kept/" + state::kept_runs(to().root_with_separator())[0].name;
  for (TempTree* side : {&folder_side, &drive_side}) {
    if (!side->exists(run + "/.tavrelon")) continue;
    for (const char* name : {"journal", "record"}) {
      const std::string own = run + "/.tavrelon/" + name;
      if (side->exists(own)) {
        std::filesystem::rename(test::native(side->path(own)),
                                test::native(side->path(run + "/" + name)));
      }
    }
    std::filesystem::remove(test::native(side->path(run + "/.tavrelon")));
  }
  ASSERT_EQ(undo(), 0);
  EXPECT_EQ(to().content(), before);
  ASSERT_EQ(sync_again(GetParam()), 0);  // the record went back as well
  EXPECT_TRUE(to().exists("p/made/n.txt"));
}

// A run that ends in an error lists what it did and is the run an undo acts
// on; a retry that fails before changing anything does not hide it.
TEST_P(Undo, ARunEndedByAnErrorListsWhatItDidAndIsUndoneWhole) {
  // A rename of the batch refused after others took their names: the first
  // such rename, found by trying each in turn (systems rename differently).
  std::size_t placed = 0;
  for (std::size_t rename = 1; rename < 30 && placed <= 2; ++rename) {
    folder_side.remove_contents();
    drive_side.remove_contents();
    SetUp();
    from().file("p/b.txt", "new b", kNew).file("p/c.txt", "new c", kNew);
    to().file("p/b.txt", "old b", kOld).file("p/c.txt", "old c", kOld);
    before = to().content();
    sys::FaultPlan refuse(sys::Call::Rename, rename, sys::kAccessDenied);
    start_again().click(GetParam()).click(GetParam()).click(Control::Button4);
    run_again();
    if (again().error_reports().size() != 1) continue;
    // Every copy that took its name is listed (the lines show the start of
    // each path): the two new files and the replacements placed.
    placed = 2;
    for (const char* rel : {"p/a.txt", "p/b.txt", "p/c.txt"}) placed += to().read(rel).starts_with("new");
  }
  ASSERT_GT(placed, 2u);
  std::vector<std::string> listed;
  for (const auto& line : again().state(Control::List1).items) listed.push_back(text_of(line));
  EXPECT_EQ(std::ranges::count_if(listed, [](const std::string& line) {
              return line.starts_with("(更新) ");
            }),
            static_cast<std::ptrdiff_t>(placed));
  {
    sys::FaultPlan refuse_at_once(sys::Call::Open, 1, sys::kDiskFull);
    sync_again(GetParam());
  }
  ASSERT_EQ(undo(), 0);
  EXPECT_EQ(to().content(), before);
}

INSTANTIATE_TEST_SUITE_P(BothWays, Undo, TAV_BOTH_ARROWS);

// A run that moved entries, made as the run's execution makes it: the
// folder made for their new paths, each move journaled before its rename,
// the folder they left removed; then undone through its plan.
class UndoOfMoves : public testing::Test {
 protected:
  UndoOfMoves() {
    roots.folder_path = folder.root();
    roots.folder_root = folder.root_with_separator();
    roots.drive_root = drive.root_with_separator();
    fill();
    before = drive.content();
  }

  void fill() {
    drive.file("a/doc.txt", "doc", kOld).file("a/set/one.txt", "one", kOld).file("c.txt", "c", kOld);
  }

  // Moves a/doc.txt and the folder a/set into b; a run cut short journals
  // its last move and goes no further.
  void run(bool cut_short = false) {
    RunKeeping keeping(roots, pair, {});
    keeping.begin();
    make_folder(drive.path("b"));
    keeping.folder_made(drive.path("b"));
    for (const std::string name : {"doc.txt", "set"}) {
      keeping.moving(drive.path("b/" + name), drive.path("a/" + name));
      if (cut_short && name == "set") return;
      move_aside(drive.path("a/" + name), drive.path("b/" + name));
    }
    remove_folder(drive.path("a"));
    keeping.folder_removed(drive.path("a"));
    keeping.commit();
  }

  std::vector<LeftEntry> undo() {
    const auto plan = plan_undo(roots, pair);
    if (!plan) ADD_FAILURE() << "nothing to undo";
    return plan ? undo_run(*plan, roots, pair) : std::vector<LeftEntry>{};
  }

  TempTree folder, drive;
  Roots roots;
  const state::PairKey pair = state::pair_key("machine", "/home/kim/work");
  TempTree::Content before;
};

TEST_F(UndoOfMoves, PutsEachEntryBackAndItsFoldersAsTheyWere) {
  run();
  ASSERT_FALSE(drive.exists("a"));
  const auto plan = plan_undo(roots, pair);
  ASSERT_TRUE(plan);
  std::vector<std::string> put_back;
  for (const UndoStep& step : plan->steps) {
    if (step.puts_back()) put_back.push_back(plan->shown_path(step));
  }
  EXPECT_EQ(put_back, (std::vector<std::string>{drive.path("a"), drive.path("a/set"),
                                                drive.path("a/doc.txt")}));
  EXPECT_TRUE(undo_run(*plan, roots, pair).empty());
  EXPECT_EQ(drive.content(), before);
  // The undo journals its own moves, and its journal reads.
  const auto runs = state::kept_runs(drive.root_with_separator());
  EXPECT_EQ(runs.size(), 2u);
  for (const auto& run : runs) {
    const auto journal = state::journal_of(run);
    ASSERT_TRUE(journal) << run.name;
    EXPECT_EQ(std::ranges::count(journal->entries, state::Action::Moved, &state::JournalEntry::action),
              2);
  }
}

TEST_F(UndoOfMoves, LeavesWhatWasTakenSinceAndPassesOverAMoveNeverMade) {
  run();
  drive.file("a/doc.txt", "a new doc since");
  EXPECT_EQ(undo(), (std::vector<LeftEntry>{{drive.path("b/doc.txt"), LeftReason::ChangedSinceRun},
                                            {drive.path("b"), LeftReason::ChangedSinceRun}}));
  EXPECT_EQ(drive.read("a/doc.txt"), "a new doc since");
  EXPECT_EQ(drive.read("b/doc.txt"), "doc");
  EXPECT_EQ(drive.read("a/set/one.txt"), "one");

  drive.remove_contents();
  fill();
  run(true);
  EXPECT_TRUE(undo().empty());
  EXPECT_EQ(drive.content(), before);
}

// A link made since at the former place leads outside: nothing moves
// through it, and the entries stay where the run put them.
TEST_F(UndoOfMoves, NeverMovesThroughALinkAtTheFormerPlace) {
  run();
  TempTree outside;
  if (!test::make_folder_link(outside.root(), drive.path("a"))) GTEST_SKIP() << "no folder links here";
  undo();
  EXPECT_TRUE(outside.content().empty());
  EXPECT_EQ(drive.read("b/doc.txt"), "doc");
  EXPECT_EQ(drive.read("b/set/one.txt"), "one");
}

// Kept files go in without a look at their names first where the system
// cannot refuse to replace: a name is handed out free or not at all.
TEST(KeptRun, HandsOutOnlyFreeNames) {
  TempTree side;
  const std::string name = "20240101-120000-00000000000000ab";
  side.file(".tavrelon/kept/" + name + "/found/there.txt", "kept before");
  state::KeptRun run(side.root_with_separator(), name, state::Journal{});
  const std::string rel = test::native_rel("p/x.txt");
  const std::string kept = run.place_for(rel);
  EXPECT_EQ(run.place_for(rel), kept);  // not taken yet
  side.file(".tavrelon/kept/" + name + "/p/x.txt", "kept");
  const auto taken = test::raised_by([&] { run.place_for(rel); });
  const auto found = test::raised_by([&] { run.place_for(test::native_rel("found/there.txt")); });
  for (const auto& error : {taken, found}) {
    ASSERT_TRUE(error);
    EXPECT_EQ(error->system_code(), sys::kAlreadyExists);
  }
  EXPECT_NO_THROW(run.place_for(test::native_rel("found/new.txt")));
}

class KeptRuns : public test::SyncTest {};

TEST_F(KeptRuns, OlderThanThirtyDaysAreReleasedSparingTheLastThree) {
  for (const int day : {1, 2, 3, 4, 5, 6}) kept_run(drive_side, day, day == 2 || day == 6 ? 5 : 40);
  folder_side.folder("p");
  drive_side.file("p/gone.txt", "to delete", kOld);
  ASSERT_EQ(sync(Control::Button3), 0);
  const auto names = run_names(drive_side.root_with_separator());
  // The old ones go but for the last three, whatever their age; the young
  // one stays; the new run's beside them.
  ASSERT_EQ(names.size(), 5u);
  EXPECT_EQ(names[0], "20240102-120000-00000000000000ab");
  EXPECT_EQ(names[1], "20240104-120000-00000000000000ab");
  EXPECT_EQ(names[3], "20240106-120000-00000000000000ab");
}

TEST_F(KeptRuns, ARunThatCannotFitOffersToReleaseThemOldestFirst) {
  const test::HeldSmallFileSystem held;
  if (!held.root()) GTEST_SKIP() << "this run provides no small file system (TAVRELON_SMALL_FS)";
  // The folder side on the small file system, filled by four kept runs.
  TempTree small(*held.root());
  TempTree& folder = small;
  window.type(Control::Edit1, folder.root());
  for (const int day : {1, 2, 3, 4}) kept_run(folder, day, 1, 12 << 10);
  folder.folder("p");
  drive_side.file("p/big.bin", std::string(20 << 10, 'b'), kNew);
  window.click(Control::Button2).click(Control::Button2).click(Control::Button4);
  EXPECT_EQ(run(), 0);
  ASSERT_FALSE(window.boxes().empty());
  EXPECT_NE(window.boxes()[0].text.find("回分）を削除すると空く容量: 1 MB"),
            std::string::npos);
  EXPECT_EQ(folder.read("p/big.bin"), std::string(20 << 10, 'b'));
  const auto names = run_names(folder.root_with_separator());
  ASSERT_FALSE(names.empty());
  EXPECT_EQ(names[0], "20240102-120000-00000000000000ab");  // the oldest went
}

}  // namespace
}  // namespace tav
