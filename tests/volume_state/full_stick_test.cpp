// A stick too full for a run that keeps what it replaces: the one question
// offers releasing kept runs (the latest too), then replacing without
// keeping; each answer does what it said, and the run's end and its undo
// name the files replaced without keeping. On an exFAT image of the test's
// own, through FUSE.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "app/flow_texts.h"
#include "support/stick_image.h"
#include "support/sync_fixture.h"
#include "volume_state/kept_runs.h"

namespace tav {
namespace {

using test::LocalTime;

constexpr std::uint64_t kMiB = 1 << 20;
constexpr int kFiles = 6;  // of 1 MiB each

class FullStick : public test::SyncTest {
 protected:
  void SetUp() override {
    stick.emplace(drive.root(), 32 * kMiB);
    if (!stick->why_not().empty()) GTEST_SKIP() << stick->why_not();
    drive_side.folder("p");
    write_files('a', 1);
    ASSERT_EQ(sync(Control::Button3), 0);
  }
  void TearDown() override { stick.reset(); }

  // The folder's files, all of one letter, written at the given minute.
  void write_files(char letter, int minute) {
    for (int i = 0; i < kFiles; ++i) {
      folder_side.file("p/f" + std::to_string(i) + ".bin", std::string(kMiB, letter),
                       LocalTime{2024, 5, 1, 10, minute, 0});
    }
  }
  static std::string name(int i) { return "p/f" + std::to_string(i) + ".bin"; }
  bool holds(const std::string& rel, char letter) const {
    return drive_side.exists(rel) && drive_side.read(rel) == std::string(kMiB, letter);
  }
  bool stick_holds(char letter) const {
    for (int i = 0; i < kFiles; ++i) {
      if (!holds(name(i), letter)) return false;
    }
    return true;
  }
  // "→" in a new start, the second press answered with each answer in turn
  // (a Cancel returns to the lists, where the next press asks again).
  int run_with(std::initializer_list<Answer> answers) {
    auto& window = start_again().click(Control::Button3);
    for (const Answer answer : answers) window.click(Control::Button3).answer(answer);
    window.click(Control::Button4);
    return run_again();
  }
  std::string question(std::string_view offer, std::string_view ask) const {
    return "移動先のドライブの空き容量が足りない可能性があります\r\r必要な容量: 6 MB\r空き容量: 3 MB\r" +
           std::string(offer) + "\r\r" + std::string(ask);
  }

  std::optional<test::StickImage> stick;
};

TEST_F(FullStick, ReleasesEvenTheLatestKeptRunWhenThatMakesRoom) {
  write_files('b', 2);
  ASSERT_EQ(sync_again(Control::Button3), 0);  // keeps the a's: the latest run
  write_files('c', 3);
  stick->leave_free(2 * kMiB + kMiB / 4);
  ASSERT_EQ(state::kept_runs(drive.root()).size(), 2u);  // each run keeps its journal

  ASSERT_EQ(run_with({Answer::Cancel, Answer::Ok}), 0);
  const std::string asked =
      question("以前の処理で残したファイル（2 回分）を削除すると空く容量: 7 MB",
               "直近の処理で残したファイルも含めて、以前の処理で残したファイルを古いものから削除して、"
               "処理を開始しますか");
  ASSERT_GE(again().boxes().size(), 2u);
  EXPECT_EQ(again().boxes()[0].text, asked);
  EXPECT_EQ(again().boxes()[1].text, asked);
  EXPECT_TRUE(again().error_reports().empty());
  EXPECT_TRUE(stick_holds('c'));
  const auto after = state::kept_runs(drive.root());
  ASSERT_EQ(after.size(), 1u);  // the b's are kept now, the a's went
  EXPECT_TRUE(holds(".tavrelon/kept/" + after[0].name + "/" + name(0), 'b'));
}

TEST_F(FullStick, ReplacesTheLastFilesWithoutKeepingWhereNothingElseMakesRoom) {
  write_files('b', 2);
  stick->leave_free(2 * kMiB + kMiB / 4);
  const std::string asked =
      question("以前の処理で残したファイル（1 回分）を削除すると空く容量: 1 MB\r"
               "5 件のファイルを以前の版を保存せずに置き換えると空く容量: 4 MB",
               "以前の処理で残したファイルをすべて削除し、足りない分のファイルを以前の版を保存せずに"
               "置き換えて、処理を開始しますか");

  ASSERT_EQ(run_with({Answer::Cancel}), 0);  // Cancel, then the program is ended
  EXPECT_EQ(again().boxes()[0].text, asked);
  EXPECT_TRUE(stick_holds('a'));

  ASSERT_EQ(run_with({Answer::Ok}), 0);
  EXPECT_TRUE(again().error_reports().empty());
  EXPECT_TRUE(stick_holds('b'));
  ASSERT_EQ(again().boxes().size(), 2u);
  const auto& end = again().boxes()[1];
  EXPECT_EQ(end.caption, flow_text::kLeftCaption);
  // The copies listed last are the ones not kept; the first one is kept.
  const auto named = box_lines(end, flow_text::kNotKeptLead);
  ASSERT_EQ(named.size(), std::size_t{kFiles - 1});
  const auto runs = state::kept_runs(drive.root());
  ASSERT_EQ(runs.size(), 1u);
  int kept = -1;
  for (int i = 0; i < kFiles; ++i) {
    const std::string line = on_drive(name(i)) + "（空き容量が足りないため保存せずに置き換え）";
    if (std::ranges::find(named, line) == named.end()) kept = i;
  }
  ASSERT_NE(kept, -1);
  EXPECT_TRUE(holds(".tavrelon/kept/" + runs[0].name + "/" + name(kept), 'a'));

  // The undo puts back the one kept and names the others it cannot.
  start_again().undo_command().answer(Answer::Ok).click(Control::Button4);
  ASSERT_EQ(run_again(), 0);
  EXPECT_TRUE(holds(name(kept), 'a'));
  EXPECT_TRUE(holds(name((kept + 1) % kFiles), 'b'));
  EXPECT_EQ(box_lines(again().boxes().back(), flow_text::kLeftLeadAnyReason), named);
}

TEST_F(FullStick, OffersNothingThatWouldNotMakeTheRunFit) {
  folder_side.file("p/big.bin", std::string(20 * kMiB, 'n'), LocalTime{2024, 5, 1, 10, 2, 0});
  stick->leave_free(2 * kMiB);
  ASSERT_EQ(run_with({Answer::Cancel}), 0);
  EXPECT_EQ(again().boxes()[0].text,
            "移動先のドライブの空き容量が足りない可能性があります\r\r必要な容量: 20 MB\r"
            "空き容量: 2 MB\r\r処理を開始しますか");
  EXPECT_EQ(state::kept_runs(drive.root()).size(), 1u);
}

}  // namespace
}  // namespace tav
