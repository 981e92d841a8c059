// The check that reads every copy back from its medium after the run's
// last flush: on a volume that does not keep what it is given, the copies
// it lost are named, taken back and warned of, and the next run onto a
// good volume copies them again; a stop ends the check at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>

#include "app/flow_texts.h"
#include "support/lying_volume.h"
#include "support/sample_trees.h"
#include "support/sync_fixture.h"

namespace tav {
namespace {

using test::kNew;
using test::TempTree;

constexpr std::size_t kMiB = 1 << 20;
constexpr int kFiles = 6;

class CopyCheck : public test::SyncTest {
 protected:
  static std::string name(int i) { return "p/f" + std::to_string(i) + ".bin"; }
  static std::string content(int i) { return std::string(kMiB, static_cast<char>('a' + i)); }

  // "←" from the drive's files into a folder on the lying volume.
  int run_into(const test::Lie& lie) {
    volume.emplace(holder, lie);
    if (!volume->why_not().empty()) return -1;
    for (int i = 0; i < kFiles; ++i) drive_side.file(name(i), content(i), kNew);
    std::filesystem::create_directory(test::native(volume->path("p")));
    window.type(Control::Edit1, volume->root())
        .click(Control::Button2)
        .click(Control::Button2)
        .click(Control::Button4);
    return run();
  }

  // The files the end box names as not confirmed, by their number.
  std::vector<int> named() const {
    std::vector<int> files;
    const auto lines = box_lines(window.boxes().front(), flow_text::kLeftLeadAnyReason);
    for (int i = 0; i < kFiles; ++i) {
      const std::string line = volume->path(name(i)) + "（書き込んだ内容を確認できません）";
      if (std::ranges::find(lines, line) != lines.end()) files.push_back(i);
    }
    EXPECT_EQ(files.size(), lines.size()) << "a line that names no copy";
    return files;
  }

  void expect_warning(std::size_t count) const {
    ASSERT_EQ(window.boxes().size(), 2u);
    EXPECT_EQ(window.boxes()[1].caption, "ドライブの確認");
    EXPECT_EQ(window.boxes()[1].text,
              "書き込んだ内容を読み出して確かめたところ、" + std::to_string(count) +
                  " 件が一致しませんでした。ドライブが故障しているか、表示より容量の少ない"
                  "偽装品のおそれがあります。このドライブには大切なデータを保存しないでください。");
  }

  TempTree holder;
  std::optional<test::LyingVolume> volume;
};

TEST_F(CopyCheck, CopiesPastWhatTheStickKeepsAreNamedTakenBackAndCopiedAgain) {
  if (run_into(test::keeps_only(3 * kMiB + kMiB / 2)) != 0) GTEST_SKIP() << volume->why_not();
  EXPECT_TRUE(window.error_reports().empty());
  const auto lost = named();
  ASSERT_GE(lost.size(), 2u);  // the last ones written, past the medium's bytes
  expect_warning(lost.size());
  for (const int i : lost) EXPECT_FALSE(holder.exists("lying-medium/" + name(i))) << i;

  // The medium itself, as a good volume: the next run copies exactly those.
  volume.reset();
  start_again().type(Control::Edit1, holder.path("lying-medium"))
      .click(Control::Button2).click(Control::Button2).click(Control::Button4);
  ASSERT_EQ(run_again(), 0);
  EXPECT_EQ(again().state(Control::List1).items.size(), lost.size());
  for (int i = 0; i < kFiles; ++i) {
    EXPECT_TRUE(holder.read("lying-medium/" + name(i)) == content(i)) << i;
  }
}

TEST_F(CopyCheck, AByteTheMediumFlipsNamesThatCopyAlone) {
  if (run_into(test::flips_a_byte_of("p/f2.bin")) != 0) GTEST_SKIP() << volume->why_not();
  EXPECT_EQ(named(), std::vector<int>{2});
  expect_warning(1);
}

TEST_F(CopyCheck, AStopDuringTheCheckEndsTheRunWithTheCopiesInPlace) {
  for (int i = 0; i < 40; ++i) folder_side.file("p/f" + std::to_string(i), content(i % 8));
  drive_side.folder("p");
  // The check asks at each file at least: the click comes amid the check
  // however many times the copying asked.
  window.click(Control::Button3).click(Control::Button3).click_while_busy(Control::Button4, 2, 120);
  EXPECT_EQ(run(), 0);
  EXPECT_TRUE(window.boxes().empty());
  EXPECT_TRUE(window.state(Control::Text1).text.starts_with("確認中"));
  for (int i = 0; i < 40; ++i) {
    EXPECT_TRUE(drive_side.read("p/f" + std::to_string(i)) == content(i % 8)) << i;
  }
  EXPECT_FALSE(here.tree.exists(here.settings_file()));
}

}  // namespace
}  // namespace tav
