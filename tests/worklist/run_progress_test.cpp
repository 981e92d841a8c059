// A run's progress as the taskbar hears of it: what is sent when, through
// the scripted window standing for the taskbar.
#include "worklist/run_progress.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "app/main_form.h"
#include "support/scripted_window.h"

namespace tav {
namespace {

using namespace std::chrono_literals;
using P = Progress;
constexpr std::uint64_t kStep = RunProgress::kStepBytes;

class RunProgressTest : public testing::Test {
 protected:
  RunProgressTest() : window(main_form()) {}

  RunProgress start(RunWork work) { return RunProgress(window, work, [this] { return now; }); }
  const std::vector<ShownProgress>& sent() const { return window.progress_sent(); }

  test::ScriptedWindow window;
  std::chrono::steady_clock::time_point now{};
};

TEST_F(RunProgressTest, TheBarFollowsTheBytesAndStepsAndMovesWithoutAValueWhileFlushing) {
  // Six steps' weight of bytes in two files, and two deletions: eighths.
  RunProgress progress = start({6 * kStep, 2});
  progress.copying(kStep);
  progress.copying(kStep + 10);  // less than a thousandth further: not sent
  progress.copied(4 * kStep);
  progress.flushing(true);
  progress.copying(kStep);  // hidden by the moving bar
  progress.flushing(false);
  progress.copied(2 * kStep);
  progress.step_done();
  progress.step_done();
  progress.done();
  progress.step_done();  // after the end, nothing
  EXPECT_EQ(sent(), (std::vector<ShownProgress>{{P::Normal, 0.0},
                                                 {P::Normal, 0.125},
                                                 {P::Normal, 0.5},
                                                 {P::Indeterminate, 0.5},
                                                 {P::Normal, 0.625},
                                                 {P::Normal, 0.75},
                                                 {P::Normal, 0.875},
                                                 {P::Normal, 1.0},
                                                 {P::None, 0.0}}));
}

TEST_F(RunProgressTest, TheShareStaysBetweenNoneAndAllWhateverTheWork) {
  struct Case {
    const char* what;
    RunWork work;
    std::function<void(RunProgress&)> act;
    double fraction;
  };
  const Case cases[] = {
      {"nothing to do", {0, 0}, [](RunProgress& p) { p.step_done(); }, 0.0},
      {"a file grown since the scan", {100, 0}, [](RunProgress& p) { p.copying(250); }, 1.0},
      {"steps alone", {0, 4}, [](RunProgress& p) { p.step_done(); }, 0.25},
      {"a file copied, then the next begun",
       {3 * kStep, 1},
       [](RunProgress& p) {
         p.copied(kStep);
         p.copying(kStep);
       },
       0.5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RunProgress progress = start(c.work);
    c.act(progress);
    EXPECT_DOUBLE_EQ(progress.fraction(), c.fraction);
    for (const ShownProgress& shown : sent()) {
      EXPECT_FALSE(std::isnan(shown.fraction));
      EXPECT_LE(shown.fraction, 1.0);
    }
  }
}

TEST_F(RunProgressTest, OnlyARunOfMoreThanTenSecondsAsksForAttentionAtItsEnd) {
  struct Case {
    std::chrono::milliseconds lasted;
    int requests;
  };
  for (const auto [lasted, requests] : {Case{0ms, 0}, Case{10s, 0}, Case{10'001ms, 1},
                                        Case{1h, 1}}) {
    SCOPED_TRACE(lasted.count());
    test::ScriptedWindow taskbar(main_form());
    const auto started = now;
    RunProgress progress(taskbar, {kStep, 0}, [&] { return now; });
    now += lasted;
    EXPECT_EQ(progress.took_long(), requests == 1);
    EXPECT_EQ(taskbar.attention_requests(), 0);  // not before the end
    progress.done();
    progress.done();
    EXPECT_EQ(taskbar.attention_requests(), requests);
    now = started;
  }
}

TEST_F(RunProgressTest, TheWorkIsWhatTheListsStillHoldOnTheSourceSide) {
  WorkTables tables;
  const auto seen = [](std::uint64_t size) { return FileVersion{{}, size}; };
  tables.copies.append({"a/new.txt", "d", "", seen(1000), std::nullopt});
  tables.copies.append({"a/both.txt", "d", "d", seen(20), seen(300)});
  tables.copies.append({"a/withdrawn.txt", "d", "", seen(5000), std::nullopt});
  tables.copies.append({"a/drive.txt", "", "d", std::nullopt, seen(4000)});
  tables.new_folders.append("a/b");
  tables.new_folders.append("a/withdrawn");
  tables.deleted_files.append({"a/old.txt", seen(7)});
  tables.deleted_folders.append("a/gone");
  tables.deleted_folders.append("a/withdrawn");
  tables.copies.withdraw(3);
  tables.new_folders.withdraw(2);
  tables.deleted_folders.withdraw(2);

  EXPECT_EQ(work_of(tables, Direction::FolderToDrive, true), (RunWork{1020, 3}));
  EXPECT_EQ(work_of(tables, Direction::DriveToFolder, true), (RunWork{4300, 3}));
  EXPECT_EQ(work_of(tables, Direction::FolderToDrive, false), (RunWork{1020, 1}));
  EXPECT_EQ(work_of(tables, Direction::FolderToDrive, false, true), (RunWork{2040, 1}));
}

}  // namespace
}  // namespace tav
