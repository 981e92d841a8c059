// Whole runs that meet the checks made before anything is changed: a
// destination that cannot take some entries, one that may be too small, and
// a drive replaced between the two presses. Real volumes, where the test run
// provides them.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "app/settings_file.h"
#include "platform/volume_facts.h"
#include "support/other_volume.h"
#include "support/sample_trees.h"
#include "support/sync_fixture.h"

namespace tav {
namespace {

using test::kNew;

constexpr std::string_view kRefusedHeading =
    "次のファイル・フォルダは移動先のドライブに保存できないため、リストからはずしました\r\r";
constexpr std::string_view kNoVolume =
    "no such volume for this test run (scripts/test mounts them as root on Linux; "
    "under Wine S: is FAT32)";
constexpr std::string_view kNoSmallFileSystem =
    "this run provides no small file system (TAVRELON_SMALL_FS)";

class PreviewChecks : public test::SyncTest {
 protected:
  // "←" from the drive into a folder of the test's own on a volume.
  int sync_into(const test::TempTree& stick) {
    window.type(Control::Edit1, stick.root())
        .click(Control::Button2)
        .click(Control::Button2)
        .click(Control::Button4);
    return run();
  }

  static std::vector<std::string> names_in(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(test::native(folder))) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  // The first box shown, and how many there were.
  void expect_boxes(std::size_t count, std::string_view caption, std::string_view text,
                    Buttons buttons, Icon icon) {
    ASSERT_EQ(window.boxes().size(), count);
    EXPECT_EQ(window.boxes()[0].caption, caption);
    EXPECT_EQ(window.boxes()[0].text, text);
    EXPECT_EQ(window.boxes()[0].buttons, buttons);
    EXPECT_EQ(window.boxes()[0].icon, icon);
  }
};

TEST_F(PreviewChecks, OntoExfatNamesItCannotStoreLeaveTheListsAndTheRunCompletes) {
  const auto volume = test::test_volume_root("exfat");
  if (!volume) GTEST_SKIP() << kNoVolume;
  test::TempTree stick(*volume);
  stick.folder("p");
  drive_side.file("p/ok.txt", "ok", kNew)
      .file("p/Case.txt", "first", kNew)
      .file("p/case.txt", "second", kNew)
      .file("p/colon:name.txt")
      .file("p/bad:dir/below.txt")
      .file("p/CON.txt")
      .file("p/trail.");
  std::ofstream(drive_side.path("p") + "/bad\xFF.txt");
  EXPECT_EQ(sync_into(stick), 0);
  expect_boxes(1, "移動先の確認",
               std::string(kRefusedHeading) +
                   "p/CON.txt（予約された名前）\r"
                   "p/bad:dir（使えない文字）\r"
                   "p/bad\xFF.txt（使えない文字）\r"
                   "p/colon:name.txt（使えない文字）\r"
                   "p/trail.（使えない文字）\r\r"
                   "次のファイル・フォルダは同じ名前のものが片側に２つあるため、リストからはずしました\r\r"
                   "p/Case.txt（同じ名前が２つあります）",
               Buttons::Ok, Icon::Exclamation);
  EXPECT_TRUE(window.error_reports().empty());
  // Two names the stick takes for one: neither is copied.
  EXPECT_EQ(names_in(stick.path("p")), (std::vector<std::string>{"ok.txt"}));
}

TEST_F(PreviewChecks, OntoFat32AFileOf4GiBLeavesTheListsAndTheRunCompletes) {
  const auto volume = test::test_volume_root("fat32");
  if (!volume) GTEST_SKIP() << kNoVolume;
  test::TempTree stick(*volume);
  stick.folder("p");
  drive_side.file("p/ok.txt", "ok", kNew).file("p/big.bin", "", kNew);
  std::filesystem::resize_file(test::native(drive_side.path("p/big.bin")), std::uint64_t{4} << 30);
  EXPECT_EQ(sync_into(stick), 0);
  expect_boxes(1, "移動先の確認",
               std::string(kRefusedHeading) + native_rel("p/big.bin") + "（4GB以上のファイル）",
               Buttons::Ok, Icon::Exclamation);
  EXPECT_TRUE(window.error_reports().empty()) << window.error_reports()[0].text;
  EXPECT_EQ(names_in(stick.path("p")), (std::vector<std::string>{"ok.txt"}));
}

// "←" into a folder on the small file system: 100 KiB cannot fit in 64.
class FreeSpace : public PreviewChecks {
 protected:
  void SetUp() override {
    if (!held.root()) GTEST_SKIP() << kNoSmallFileSystem;
    destination.emplace(*held.root());
    destination->folder("p");
    drive_side.file("p/big.bin", std::string(100 << 10, 'b'), kNew).file("p/small.txt", "s", kNew);
    window.type(Control::Edit1, destination->root()).click(Control::Button2).click(Control::Button2);
  }

  const test::HeldSmallFileSystem held;
  std::optional<test::TempTree> destination;
};

constexpr std::string_view kSpaceQuestion =
    "移動先のドライブの空き容量が足りない可能性があります\r\r必要な容量: 1 MB\r空き容量: 1 MB\r\r"
    "処理を開始しますか";

TEST_F(FreeSpace, CancelReturnsToTheReviewWhereAWithdrawalMakesItFit) {
  window.double_click(Control::List1, "(作成) " + destination->path("p/big.bin"))
      .click(Control::Button2)
      .click(Control::Button4);
  window.answer(Answer::Cancel).answer(Answer::Ok);
  EXPECT_EQ(run(), 0);
  expect_boxes(2, "移動先の確認", kSpaceQuestion, Buttons::OkCancel, Icon::Exclamation);
  EXPECT_EQ(window.boxes()[1].caption, "下記の選択ファイルをリストからはずしますか");
  EXPECT_EQ(destination->read("p/small.txt"), "s");
  EXPECT_FALSE(destination->exists("p/big.bin"));
}

TEST_F(FreeSpace, OkStartsTheRunAnyway) {
  window.answer(Answer::Ok);
  EXPECT_EQ(run(), 1);  // the copy that does not fit stops it
  expect_boxes(1, "移動先の確認", kSpaceQuestion, Buttons::OkCancel, Icon::Exclamation);
  ASSERT_EQ(window.error_reports().size(), 1u);
  EXPECT_NE(window.error_reports()[0].text.find("エラー[67]"), std::string::npos);
}

TEST_F(PreviewChecks, ADriveReplacedBetweenThePressesEndsTheProgram) {
  if (kWindowsNamesEverywhere) {
    GTEST_SKIP() << "under Windows the end-to-end scenario drive_replaced_between_presses "
                    "points the drive letter at another folder";
  }
  if (!test::OtherVolume::possible()) GTEST_SKIP() << "this run may not mount (not root)";
  test::make_sample_trees(folder_side, drive_side);
  std::optional<test::OtherVolume> other;
  window.click(Control::Button3)
      .act([&] { other.emplace(drive_root()); })
      .click(Control::Button3)
      .click(Control::Button4);
  EXPECT_EQ(run(), 0);
  expect_boxes(1, "ドライブの確認",
               "検索した後にドライブが変わったか、取り外されました。\r\rもう一度検索してください。",
               Buttons::Ok, Icon::Stop);
  EXPECT_TRUE(names_in(drive_root()).empty());  // nothing written on the other volume
  EXPECT_FALSE(here.tree.exists(here.settings_file()));
  other.reset();
  EXPECT_TRUE(drive_side.exists("proj/old.txt"));
  EXPECT_FALSE(drive_side.exists("proj/new.txt"));
}

TEST_F(PreviewChecks, AnUndisturbedRunShowsNoCheck) {
  test::make_sample_trees(folder_side, drive_side);
  EXPECT_EQ(sync(Control::Button3), 0);
  EXPECT_TRUE(window.boxes().empty());
  EXPECT_TRUE(window.error_reports().empty());
  EXPECT_EQ(drive_side.read("proj/new.txt"), "created");
  EXPECT_EQ(here.tree.read(here.settings_file()),
            encode_settings({folder_side.root(), drive.entry()}));
}

}  // namespace
}  // namespace tav
