// Whole runs of the program (a folder moved among the changes) in which
// each system call the run makes fails in turn, one call per run, until the run no longer reaches that call; and
// the same of the undo of a whole run. After each: the source is as it was,
// every destination file holds its old bytes or the source's whole bytes
// and every file it held is at its place or kept, no temporary file is left,
// and the failure was reported (never a quiet end). A run that failed is
// then undone to the destination as it was before it.
#include <gtest/gtest.h>

#include <iostream>
#include <filesystem>
#include <map>
#include <set>

#include "app/flow_texts.h"
#include "app/main_form.h"
#include "files/operations.h"
#include "scan/pair_state.h"
#include "volume_state/record_file.h"
#include "volume_state/state_access.h"
#include "volume_state/state_layout.h"
#include "volume_state/record_file.h"
#include "platform/system_faults.h"
#include "support/current_folder.h"
#include "support/sample_trees.h"
#include "support/sync_fixture.h"
#include "support/scripted_window.h"
#include "support/test_drive.h"

namespace tav {
namespace {

using test::kNew;
using test::kOld;
using test::TempTree;

constexpr sys::Call kCalls[] = {sys::Call::Open,     sys::Call::Read,   sys::Call::Write,
                                sys::Call::Flush,    sys::Call::SetTimes, sys::Call::Close,
                                sys::Call::Rename,   sys::Call::Remove, sys::Call::MakeFolder};

// What each destination path may hold after a run: its bytes before, or
// after a whole run ("" where it is absent then; "/" for a folder).
struct Allowed {
  std::string before, after;
};

enum class Failing { Run, Undo };

// One run over fresh trees with one planned failure, in the run or in the
// undo of the run that follows.
class FailedRun {
 public:
  FailedRun(Control arrow, Failing failing, sys::Call call, std::size_t nth)
      : window_(main_form()), to_drive_(arrow == Control::Button3), failing_(failing) {
    // As the last run left them, recorded; then the source moves on.
    for (TempTree* side : {&source(), &destination()}) {
      side->file("p/both.txt", "old", kOld).file("p/gone.txt", "to delete", kOld)
          .file("p/removed/x.txt", "in a removed folder", kOld)
          .file("p/moving/m.txt", "moving", kOld);
    }
    state::write_record(roots(), state::pair_of(roots()),
                        record_of_trees_now(roots(), state::pair_of(roots()).text));
    std::filesystem::remove_all(test::native(source().path("p/removed")));
    std::filesystem::remove(test::native(source().path("p/gone.txt")));
    std::filesystem::rename(test::native(source().path("p/moving")),
                            test::native(source().path("p/moved")));
    source().file("p/new.txt", "new file", kNew).file("p/both.txt", "newer content", kNew)
        .file("p/made/in.txt", "in a new folder", kNew);
    source_before_ = source().content();
    destination_before_ = destination().content();
    window_.type(Control::Edit1, folder_side_.root()).type(Control::Combo1, drive_.entry());
    window_.click(arrow).click(arrow).click(Control::Button4);
    if (failing == Failing::Undo) {
      test::run_to_end(window_, {drive_.drive()});
      after_run_ = destination().content();
      failed_ = &undo_window_.emplace(main_form());
      failed_->type(Control::Edit1, folder_side_.root()).type(Control::Combo1, drive_.entry());
      failed_->undo_command().answer(Answer::Ok).click(Control::Button4);
    }
    const sys::FaultPlan plan(call, nth, sys::kIoDevice);
    exit_code_ = test::run_to_end(*failed_, {drive_.drive()});
    struck_ = plan.struck();
  }

  bool struck() const { return struck_; }

  // The undo of the failed run, with nothing failing, brings the
  // destination back as it was before the run.
  void check_undo(const std::string& label) {
    SCOPED_TRACE(label + ", then undone");
    test::ScriptedWindow undo(main_form());
    undo.type(Control::Edit1, folder_side_.root()).type(Control::Combo1, drive_.entry());
    undo.undo_command().answer(Answer::Ok).click(Control::Button4);
    EXPECT_EQ(test::run_to_end(undo, {drive_.drive()}), 0);
    EXPECT_EQ(destination().content(), destination_before_);
    EXPECT_EQ(source().content(), source_before_);
  }

  void check(const std::string& label) {
    SCOPED_TRACE(label);
    EXPECT_EQ(source().content(), source_before_);
    const TempTree::Content now = destination().content();
    for (const auto& [path, allowed] : allowed_on_destination()) {
      const auto found = now.find(path);
      const std::string held = found == now.end() ? "" : (path.ends_with('/') ? "/" : found->second);
      EXPECT_TRUE(held == allowed.before || held == allowed.after) << path << " holds [" << held << "]";
    }
    for (const auto& [path, content] : now) {
      EXPECT_FALSE(is_temporary_name(path.substr(path.find_last_of('/') + 1))) << path;
      EXPECT_TRUE(allowed_on_destination().contains(path)) << "stray " << path;
    }
    // Every file the destination held, before the run and after it, is at
    // its place or kept; or it was a copy the undo removed while the source
    // still holds it.
    const auto kept = kept_files();
    const auto source_now = source().content();
    for (const auto* held : {&destination_before_, &after_run_}) {
      for (const auto& [path, content] : *held) {
        if (path.ends_with('/')) continue;
        const auto here = now.find(path);
        const auto moved = now.find(moved_to(path));
        const bool in_place = (here != now.end() && here->second == content) ||
                              (moved != now.end() && moved->second == content);
        const auto there = source_now.find(path);
        const bool at_the_source =
            held == &after_run_ && there != source_now.end() && there->second == content;
        EXPECT_TRUE(in_place || kept.contains({path, content}) || at_the_source) << path << " lost";
      }
    }
    // A record is whole and says the destination is as it is; or there is
    // none: never half, never stale. (An undo cut short leaves the record
    // of one side of it: a later run only withdraws more.)
    const auto bytes = record_bytes();
    if (bytes && failing_ == Failing::Run) {
      const auto record = state::decode_record(*bytes);
      ASSERT_TRUE(record) << "a half record";
      EXPECT_EQ(destination_side(*record),
                destination_side(record_of_trees_now(roots(), state::pair_of(roots()).text)))
          << "a stale record";
    }
    // A failure is reported, or it was one the program rightly passes over
    // (a record that cannot be read counts as none): then it cost nothing.
    if (struck_ && exit_code_ == 0 && failing_ == Failing::Undo) {
      EXPECT_TRUE(now == destination_before_ || now == after_run_) << "a half undo passed over";
      EXPECT_TRUE(failed_->error_reports().empty());
    } else if (struck_ && exit_code_ == 0 && !failed_->boxes().empty() &&
               failed_->boxes().back().caption == flow_text::kUnconfirmedCaption) {
      // A read of the copies' check that fails takes that copy back and
      // says so: the run is done, the medium failed.
      EXPECT_TRUE(failed_->error_reports().empty());
    } else if (struck_ && exit_code_ == 0) {
      for (const auto& [path, allowed] : allowed_on_destination()) {
        const auto found = now.find(path);
        const std::string held =
            found == now.end() ? "" : (path.ends_with('/') ? "/" : found->second);
        EXPECT_EQ(held, allowed.after) << path << " after a failure passed over";
      }
      EXPECT_TRUE(failed_->error_reports().empty());
    } else if (struck_) {
      EXPECT_EQ(exit_code_, 1);
      EXPECT_EQ(failed_->error_reports().size(), 1u);
    }
  }

 private:
  TempTree& source() { return to_drive_ ? folder_side_ : drive_.tree(); }
  TempTree& destination() { return to_drive_ ? drive_.tree() : folder_side_; }

  Roots roots() const {
    Roots roots;
    roots.folder_path = folder_side_.root();
    roots.folder_root = folder_side_.root_with_separator();
    roots.drive_root = drive_.root();
    return roots;
  }

  std::optional<std::string> record_bytes() const {
    std::string bytes;
    const std::string rel = state::layout::record(state::pair_of(roots()).id);
    if (state::read_state_file(drive_.root(), rel, SIZE_MAX / 2, bytes) != state::StateFile::Read) {
      return std::nullopt;
    }
    return bytes;
  }

  // What a record says of the destination side, path by path.
  std::map<std::string, std::optional<FileVersion>> destination_side(const state::RunRecord& record) const {
    std::map<std::string, std::optional<FileVersion>> side;
    for (const auto& entry : record.entries()) {
      const auto& version = to_drive_ ? entry.sides.drive_side : entry.sides.folder_side;
      if (version) side[entry.path] = version;
    }
    return side;
  }

  // Each file kept under the destination's runs: its path as it was and
  // its bytes.
  std::set<std::pair<std::string, std::string>> kept_files() {
    std::set<std::pair<std::string, std::string>> kept;
    const auto folder = test::native(destination().path(".tavrelon/kept"));
    if (!std::filesystem::exists(folder)) return kept;
    for (const auto& run : std::filesystem::directory_iterator(folder)) {
      const std::u8string utf8 = run.path().u8string();
      const TempTree::Content content =
          TempTree::content_of(std::string(utf8.begin(), utf8.end()) + kPathSeparator);
      for (auto& [path, bytes] : content) kept.emplace(path, bytes);
    }
    return kept;
  }

  // Where a file the run moves is at its place too.
  static std::string moved_to(const std::string& path) {
    return path == "p/moving/m.txt" ? "p/moved/m.txt" : path;
  }

  std::map<std::string, Allowed> allowed_on_destination() const {
    return {{"p/", {"/", "/"}},
            {"p/new.txt", {"", "new file"}},
            {"p/both.txt", {"old", "newer content"}},
            {"p/made/", {"", "/"}},
            {"p/made/in.txt", {"", "in a new folder"}},
            {"p/gone.txt", {"to delete", ""}},
            {"p/removed/", {"/", ""}},
            {"p/removed/x.txt", {"in a removed folder", ""}},
            {"p/moving/", {"/", ""}},
            {"p/moving/m.txt", {"moving", ""}},
            {"p/moved/", {"", "/"}},
            {"p/moved/m.txt", {"", "moving"}}};
  }

  test::InTemporaryFolder here_;
  TempTree folder_side_;
  test::TestDrive drive_;
  test::ScriptedWindow window_;
  std::optional<test::ScriptedWindow> undo_window_;
  test::ScriptedWindow* failed_ = &window_;  // the window whose run fails
  bool to_drive_;
  Failing failing_;
  TempTree::Content source_before_, destination_before_, after_run_;
  int exit_code_ = -1;
  bool struck_ = false;
};

constexpr const char* kCallNames[] = {"open",   "read",   "write",  "flush",       "set times",
                                      "close",  "rename", "remove", "make folder"};

class EveryFailure : public testing::TestWithParam<Control> {
 protected:
  // Every call of each kind failed in turn; the runs made.
  static std::size_t fail_each_call(Control arrow, Failing failing) {
    std::string summary;
    std::size_t total = 0;
    for (const sys::Call call : kCalls) {
      const std::string name = kCallNames[static_cast<std::size_t>(call)];
      std::size_t nth = 1;
      for (;; ++nth) {
        FailedRun run(arrow, failing, call, nth);
        if (!run.struck()) break;
        const std::string label = name + " call " + std::to_string(nth);
        run.check(label);
        if (failing == Failing::Run) run.check_undo(label);
      }
      summary += " " + name + " " + std::to_string(nth - 1) + ",";
      total += nth - 1;
    }
    std::cout << (failing == Failing::Run ? "runs" : "undos") << ", one failed call each:"
              << summary << " " << total << " in all\n";
    return total;
  }
};

TEST_P(EveryFailure, OfEachCallInTurnLeavesEveryFileWholeAndIsReported) {
  EXPECT_GT(fail_each_call(GetParam(), Failing::Run), 20u);
}

TEST_P(EveryFailure, OfEachCallInTurnOfAnUndoLosesNothing) {
  EXPECT_GT(fail_each_call(GetParam(), Failing::Undo), 10u);
}

INSTANTIATE_TEST_SUITE_P(BothWays, EveryFailure, TAV_BOTH_ARROWS);

}  // namespace
}  // namespace tav
