// Whole runs of a pair over real trees, each a start of the program of its
// own, where the record of the last run protects what the destination
// gained or changed since, and a run that would delete most of the
// destination asks first.
#include "volume_state/record_file.h"
#include "volume_state/state_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/check_texts.h"
#include "platform/text.h"

#include "files/content_hash.h"
#include "support/sample_trees.h"
#include "support/sync_fixture.h"
#include "volume_state/byte_codec.h"
#include "volume_state/record_file.h"

namespace tav {
namespace {

using test::kNew;
using test::kOld;
using test::LocalTime;
using test::TempTree;

constexpr LocalTime kLater{2024, 5, 2, 9, 0, 0};
constexpr LocalTime kLatest{2024, 5, 3, 9, 0, 0};
constexpr std::string_view kRecordHeading =
    "次のファイル・フォルダは前回の処理の後に作成または変更されたため、リストからはずしました";

class Record : public test::SyncTest, public testing::WithParamInterface<Control> {
 protected:
  Control arrow() const { return GetParam(); }
  TempTree& from() { return source_side(arrow()); }
  TempTree& to() { return destination_side(arrow()); }

  Roots roots() const {
    Roots roots;
    roots.folder_path = folder_side.root();
    roots.folder_root = folder_side.root_with_separator();
    roots.drive_root = drive_root();
    return roots;
  }
  std::string record_file() const {
    return drive_root() + state::layout::record(state::pair_of(roots()).id);
  }
  std::optional<state::RunRecord> record() const {
    return state::read_record(roots(), state::pair_of(roots()), 0).record;
  }

  // The first run of the pair leaves its record.
  void first_run(Control direction) {
    ASSERT_EQ(sync(direction), 0);
    ASSERT_TRUE(record());
  }

  // The lines of the box of the record after the scan of the last start.
  std::vector<std::string> protected_lines() {
    for (const auto& box : again().boxes()) {
      if (box.caption == "前回の処理との照合") return box_lines(box, kRecordHeading);
    }
    return {};
  }
};

TEST_P(Record, WorkMadeOnTheDestinationSinceTheLastRunSurvives) {
  from().file("p/a.txt", "a", kNew);
  to().folder("p");
  first_run(arrow());
  to().file("p/made.txt", "made on the stick", kLater).file("p/c/x.txt", "made too", kLater);
  // Protected at every run, not at the first only: the record keeps what
  // both sides last agreed on.
  for (int run = 0; run < 3; ++run) {
    EXPECT_EQ(sync_again(arrow()), 0);
    EXPECT_EQ(to().read("p/made.txt"), "made on the stick");
    EXPECT_EQ(to().read("p/c/x.txt"), "made too");
    EXPECT_EQ(protected_lines(),
              (std::vector<std::string>{native_rel("p/c") + "（前回の後に作成）",
                                        native_rel("p/made.txt") + "（前回の後に作成）"}));
  }
}

TEST_P(Record, AFileEditedOnBothSidesKeepsTheDestinationsEdit) {
  from().file("p/a.txt", "first", kOld);
  to().folder("p");
  first_run(arrow());
  to().file("p/a.txt", "edited on the destination", kLater);
  from().file("p/a.txt", "edited at the source", kLatest);
  for (int run = 0; run < 3; ++run) {
    EXPECT_EQ(sync_again(arrow()), 0);
    EXPECT_EQ(to().read("p/a.txt"), "edited on the destination");
    EXPECT_EQ(protected_lines(), std::vector<std::string>{native_rel("p/a.txt") + "（両方で変更）"});
  }
}

TEST_P(Record, RealDeletionsAndUpdatesAreCarriedOut) {
  from().file("p/gone.txt", "g", kOld).file("p/a.txt", "first", kOld);
  to().folder("p");
  first_run(arrow());
  std::filesystem::remove(test::native(from().path("p/gone.txt")));
  from().file("p/a.txt", "second", kLatest);
  EXPECT_EQ(sync_again(arrow()), 0);
  EXPECT_FALSE(to().exists("p/gone.txt"));
  EXPECT_EQ(to().read("p/a.txt"), "second");
  EXPECT_TRUE(protected_lines().empty());
  // The record keeps the hash each copy was written and checked with, and
  // both sides as they stand.
  const auto kept = record();
  ASSERT_TRUE(kept && kept->find("p/a.txt"));
  const state::RecordedSides& a = *kept->find("p/a.txt");
  EXPECT_EQ(a.content, content_hash("second"));
  EXPECT_EQ(a.folder_side, entry_at(folder_side.path("p/a.txt"))->version());
  EXPECT_EQ(a.drive_side, entry_at(drive_side.path("p/a.txt"))->version());
}

INSTANTIATE_TEST_SUITE_P(BothWays, Record, TAV_BOTH_ARROWS);

class RecordOfAPair : public Record {};

TEST_F(RecordOfAPair, TheOtherArrowByMistakeDeletesNothingMadeSince) {
  folder_side.file("p/a.txt", "a", kNew);
  drive_side.folder("p");
  first_run(Control::Button3);
  folder_side.file("p/new work.txt", "made in the folder since", kLater);
  for (int run = 0; run < 2; ++run) {
    EXPECT_EQ(sync_again(Control::Button2), 0);
    EXPECT_EQ(folder_side.read("p/new work.txt"), "made in the folder since");
  }
}

TEST_F(RecordOfAPair, ADeletionLeftOutByADoubleClickIsListedAgainNextRun) {
  folder_side.file("p/a.txt", "a", kOld).file("p/b.txt", "b", kOld);
  drive_side.folder("p");
  first_run(Control::Button3);
  std::filesystem::remove(test::native(folder_side.path("p/a.txt")));
  start_again().click(Control::Button3).double_click(Control::List2, "(削除) ")
      .click(Control::Button3).click(Control::Button4);
  ASSERT_EQ(run_again(), 0);
  EXPECT_TRUE(drive_side.exists("p/a.txt"));
  EXPECT_EQ(sync_again(Control::Button3), 0);
  EXPECT_FALSE(drive_side.exists("p/a.txt"));
}

TEST_F(RecordOfAPair, IsNotWrittenAgainWhenNothingChanged) {
  folder_side.file("p/a.txt", "a", kNew);
  drive_side.folder("p");
  first_run(Control::Button3);
  const auto before = entry_at(record_file());
  EXPECT_EQ(sync_again(Control::Button3), 0);
  EXPECT_EQ(entry_at(record_file())->written, before->written);
}

// Each way a record may be damaged: it counts as no record, and the run
// leaves a good one.
struct Damage {
  const char* name;
  void (*spoil)(const std::string& record);
  bool posix_only = false;  // devices and FIFOs as Linux makes them
};

std::string bytes_of(const std::string& path) {
  std::ifstream in(test::native(path), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void overwrite(const std::string& path, const std::string& bytes) {
  std::ofstream(test::native(path), std::ios::binary | std::ios::trunc) << bytes;
}

const Damage kDamages[] = {
    {"Truncated", [](const std::string& r) { overwrite(r, bytes_of(r).substr(0, 10)); }},
    {"FlippedByte",
     [](const std::string& r) {
       std::string bytes = bytes_of(r);
       bytes[bytes.size() / 2] ^= 0x01;
       overwrite(r, bytes);
     }},
    {"UnknownVersion",
     [](const std::string& r) {
       std::string bytes = bytes_of(r);
       bytes.resize(bytes.size() - 4);
       bytes[std::string_view("TAVRELON RUN RECORD\n").size()] = 9;
       state::put_word(bytes, state::crc32(bytes));
       overwrite(r, bytes);
     }},
    {"Empty", [](const std::string& r) { overwrite(r, ""); }},
    {"AFolderInItsPlace",
     [](const std::string& r) {
       std::filesystem::remove(test::native(r));
       std::filesystem::create_directories(test::native(r + "/inside"));
     }},
    // Where the system has them: a link to an endless device, and a FIFO
    // no one writes to (read blocking, either would never end).
    {"ALinkToAnEndlessDevice",
     [](const std::string& r) {
       std::filesystem::remove(r);
       std::filesystem::create_symlink("/dev/zero", r);
     },
     true},
    {"AFifo",
     [](const std::string& r) {
       std::filesystem::remove(r);
       ASSERT_EQ(std::system(("mkfifo '" + r + "'").c_str()), 0);
     },
     true},
};

class DamagedRecord : public Record {};

TEST_F(DamagedRecord, CountsAsNoRecordAndIsReplaced) {
  for (const Damage& damage : kDamages) {
    if (damage.posix_only && kPathSeparator != '/') continue;
    SCOPED_TRACE(damage.name);
    folder_side.file("p/a.txt", "a", kNew);
    drive_side.folder("p");
    first_run(Control::Button3);
    damage.spoil(record_file());
    EXPECT_FALSE(record());
    drive_side.file("p/made.txt", "made on the stick", kLater);
    EXPECT_EQ(sync_again(Control::Button3), 0);
    EXPECT_FALSE(drive_side.exists("p/made.txt"));  // deleted (and kept) as without a record
    // and the user is told so after the scan.
    EXPECT_TRUE(std::ranges::any_of(again().boxes(), [](const test::ShownBox& box) {
      return box.text.find(check_text::kRecordUnreadable) != std::string::npos;
    }));
    EXPECT_TRUE(protected_lines().empty());
    EXPECT_TRUE(record());
    std::filesystem::remove_all(test::native(drive_side.path(".tavrelon")));
    std::filesystem::remove_all(test::native(drive_side.path("p")));
  }
}

// Thirty files on the drive, none left in the folder: deleting them all asks.
class DeletingMostOfTheDrive : public test::SyncTest, public testing::WithParamInterface<Answer> {};

TEST_P(DeletingMostOfTheDrive, AsksFirstAndCancelReturnsToTheLists) {
  folder_side.folder("p");
  for (int i = 0; i < 30; ++i) drive_side.file("p/f" + std::to_string(i) + ".txt", "x", kOld);
  window.answer(GetParam()).click(Control::Button3).click(Control::Button3);
  if (GetParam() == Answer::Cancel) window.click(Control::Button4);
  window.click(Control::Button4);
  EXPECT_EQ(run(), 0);
  ASSERT_FALSE(window.boxes().empty());
  EXPECT_EQ(window.boxes()[0].caption, "削除の確認");
  EXPECT_EQ(window.boxes()[0].text,
            "移動先のファイル 30 件のうち 30 件を削除します。\r\r処理を開始しますか");
  EXPECT_EQ(drive_side.exists("p/f7.txt"), GetParam() == Answer::Cancel);
}

INSTANTIATE_TEST_SUITE_P(BothAnswers, DeletingMostOfTheDrive,
                         testing::Values(Answer::Ok, Answer::Cancel));

// A second folder synchronised with the same drive.
class OtherFolder : public Record {
 protected:
  TempTree folder_b;
  // A run of folder B "→" in a new start: the box after the search read,
  // the question answered so.
  int run_b(Answer answer) {
    start_again().type(Control::Edit1, folder_b.root()).answer(Answer::Ok).answer(answer)
        .click(Control::Button3).click(Control::Button3).click(Control::Button4);
    return run_again();
  }
};

TEST_F(OtherFolder, AFirstRunAsksAndNeverDeletesWhatWasSavedOnTheDriveSince) {
  folder_side.file("p/a.txt", "left by folder A", kOld);
  drive_side.folder("p");
  first_run(Control::Button3);
  drive_side.file("p/saved.txt", "saved on the stick since", kLater);
  folder_b.file("p/b.txt", "folder B's", kOld);
  const auto before = drive_side.content();
  ASSERT_EQ(run_b(Answer::Cancel), 0);
  EXPECT_EQ(drive_side.content(), before);
  const auto asked = std::ranges::find(again().boxes(), "同期記録の確認", &test::ShownBox::caption);
  ASSERT_NE(asked, again().boxes().end());
  EXPECT_EQ(asked->text, "このドライブは次のフォルダとも同期しています。\r" + folder_side.root() +
                             "\r\r1 件のファイルを削除または置き換えます。続けますか？");
  ASSERT_EQ(run_b(Answer::Ok), 0);
  EXPECT_FALSE(drive_side.exists("p/a.txt"));
  EXPECT_EQ(drive_side.read("p/saved.txt"), "saved on the stick since");
  EXPECT_EQ(drive_side.read("p/b.txt"), "folder B's");
}

// Every file of a side read so many seconds away from its time at the last run.
void move_clock(TempTree& side, std::int64_t seconds) {
  for (const auto& entry : std::filesystem::recursive_directory_iterator(test::native(side.path("p")))) {
    if (entry.is_regular_file()) {
      std::filesystem::last_write_time(entry.path(),
                                       entry.last_write_time() + std::chrono::seconds(seconds));
    }
  }
}

class MovedClock : public Record {
 protected:
  // Thirty files synchronised, then the destination's clock moves and one
  // file is edited at the source.
  std::string run(Control direction, TempTree& source, TempTree& destination, std::int64_t moved) {
    for (int i = 0; i < 30; ++i) source.file("p/f" + std::to_string(i) + ".txt", "same", kOld);
    destination.folder("p");
    first_run(direction);
    move_clock(destination, moved);
    source.file("p/f7.txt", "edited", kLatest);
    EXPECT_EQ(sync_again(direction), 0);
    EXPECT_EQ(destination.read("p/f7.txt"), "edited");
    EXPECT_TRUE(protected_lines().empty());
    std::string said;
    for (const auto& box : again().boxes()) said += box.text;
    return said;
  }
};

TEST_F(MovedClock, IsNoEditOnEitherSide) {
  for (const auto& [moved, hours] : {std::pair<std::int64_t, std::string>{-3600, "-1"},
                                     {3600, "1"}, {900, "0.25"}}) {
    SCOPED_TRACE(hours);
    std::filesystem::remove_all(test::native(drive_side.path(".tavrelon")));
    std::filesystem::remove_all(test::native(drive_side.path("p")));
    std::filesystem::remove_all(test::native(folder_side.path("p")));
    const std::string said = run(Control::Button3, folder_side, drive_side, moved);
    EXPECT_NE(said.find("ドライブの時刻が " + hours + " 時間ずれていました（前回の記録に合わせました）"),
              std::string::npos) << said;
  }
  std::filesystem::remove_all(test::native(drive_side.path(".tavrelon")));
  std::filesystem::remove_all(test::native(drive_side.path("p")));
  std::filesystem::remove_all(test::native(folder_side.path("p")));
  const std::string said = run(Control::Button2, drive_side, folder_side, -3600);
  EXPECT_NE(said.find("フォルダの時刻が -1 時間ずれていました"), std::string::npos) << said;
}

TEST_F(RecordOfAPair, OneFileMovedByAnHourAmongFilesThatDidNotIsAChange) {
  for (int i = 0; i < 30; ++i) folder_side.file("p/f" + std::to_string(i) + ".txt", "same", kOld);
  drive_side.folder("p");
  first_run(Control::Button3);
  drive_side.file("p/f3.txt", "edited on the stick", kOld);
  std::filesystem::last_write_time(test::native(drive_side.path("p/f3.txt")),
                                   std::filesystem::last_write_time(test::native(drive_side.path("p/f3.txt"))) +
                                       std::chrono::hours(1));
  folder_side.file("p/f3.txt", "edited in the folder", kLatest);
  EXPECT_EQ(sync_again(Control::Button3), 0);
  EXPECT_EQ(drive_side.read("p/f3.txt"), "edited on the stick");
  EXPECT_EQ(protected_lines(), std::vector<std::string>{native_rel("p/f3.txt") + "（両方で変更）"});
}

}  // namespace
}  // namespace tav
