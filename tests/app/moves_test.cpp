// What the source moved since the last run is moved on the destination by
// one rename: a folder renamed, moved into another and back, a file moved;
// a file moved and edited, two alike files swapped, a moved folder with an
// edit on the destination, a move withdrawn, a run of moves undone, and a
// seeded sequence of moves, renames, edits and duplicates over ten runs.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <random>

#include "platform/folder_reading.h"
#include "support/stick_image.h"
#include "support/sample_trees.h"
#include "support/sync_fixture.h"

namespace tav {
namespace {

using test::kNew;
using test::kOld;
using test::TempTree;

void move(TempTree& tree, std::string_view from, std::string_view to) {
  std::filesystem::create_directories(test::native(tree.path(to)).parent_path());
  std::filesystem::rename(test::native(tree.path(from)), test::native(tree.path(to)));
}

// The files the destination's kept runs hold (not the runs' own state).
std::size_t kept_files(const TempTree& tree) {
  const auto kept = test::native(tree.path(".tavrelon/kept"));
  if (!std::filesystem::exists(kept)) return 0;
  std::size_t files = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(kept)) {
    const bool state = entry.path().parent_path().filename() == ".tavrelon";
    files += entry.is_regular_file() && !state ? 1 : 0;
  }
  return files;
}

// The paths where two trees differ, for a short message.
std::string differences(const TempTree::Content& a, const TempTree::Content& b) {
  std::string paths;
  for (const auto& [path, content] : a) {
    const auto there = b.find(path);
    if (there == b.end() || there->second != content) paths += " " + path;
  }
  for (const auto& [path, content] : b) {
    if (!a.contains(path)) paths += " +" + path;
  }
  return paths;
}

class Moves : public test::SyncTest, public testing::WithParamInterface<Control> {
 protected:
  TempTree& from() { return source_side(GetParam()); }
  TempTree& to() { return destination_side(GetParam()); }
  std::string to_path(std::string_view rel) { return to().path(rel); }

  // Both sides as a first run leaves them, with the pair's record.
  void in_step(const std::function<void(TempTree&)>& fill) {
    fill(from());
    to().folder("p");
    ASSERT_EQ(sync(GetParam()), 0);
    ASSERT_EQ(differences(to().content(), from().content()), "");
  }

  // A whole run in a new start; its LIST1 and LIST2 lines after the run.
  void run_listing(std::vector<std::string>& list1, std::vector<std::string>& list2) {
    ASSERT_EQ(sync_again(GetParam()), 0);
    list1 = again().state(Control::List1).items;
    list2 = again().state(Control::List2).items;
  }
};

TEST_P(Moves, AFolderRenamedMovedIntoAnotherAndBackIsRenamedEachTime) {
  in_step([](TempTree& side) {
    for (int i = 0; i < 30; ++i) side.file("p/2026/f" + std::to_string(i) + ".txt", "file " + std::to_string(i), kOld);
    side.file("p/2026/sub/deep.txt", "deep", kOld).folder("p/2026/empty").file("p/other/x.txt", "x", kOld);
  });
  const std::uint64_t before = identity_at(to_path("p/2026/f1.txt"));
  std::vector<std::string> list1, list2;
  for (const auto& [old_path, new_path] : {std::pair{"p/2026", "p/2026-done"},
                                          std::pair{"p/2026-done", "p/other/2026"},
                                          std::pair{"p/other/2026", "p/2026"}}) {
    SCOPED_TRACE(new_path);
    move(from(), old_path, new_path);
    run_listing(list1, list2);
    EXPECT_EQ(list1, std::vector<std::string>{"(移動) " + to_path(new_path)});
    EXPECT_TRUE(list2.empty());
    EXPECT_EQ(differences(to().content(), from().content()), "");
  }
  if (before != 0) {
    EXPECT_EQ(identity_at(to_path("p/2026/f1.txt")), before);
  }
  EXPECT_EQ(kept_files(to()), 0u);
  // A file moved alone, into a folder the run makes.
  move(from(), "p/2026/f2.txt", "p/new/f2.txt");
  run_listing(list1, list2);
  EXPECT_EQ(list1, (std::vector<std::string>{"(作成) " + to_path("p/new"),
                                             "(移動) " + to_path("p/new/f2.txt")}));
  EXPECT_EQ(differences(to().content(), from().content()), "");
  EXPECT_EQ(kept_files(to()), 0u);
  ASSERT_EQ(sync_again(GetParam()), 0);
  EXPECT_EQ(again().boxes().back().caption, "検索完了！");

  // The undo moves the file back and removes the folder it made.
  start_again().undo_command().answer(Answer::Ok).click(Control::Button4);
  ASSERT_EQ(run_again(), 0);
  EXPECT_TRUE(to().exists("p/2026/f2.txt"));
  EXPECT_FALSE(to().exists("p/new"));
}

TEST_P(Moves, AFileMovedAndEditedIsCopiedAndTheOldOneDeleted) {
  in_step([](TempTree& side) { side.file("p/a/doc.txt", "first", kOld); });
  move(from(), "p/a/doc.txt", "p/b/doc.txt");
  from().file("p/b/doc.txt", "first, edited", kNew);
  std::vector<std::string> list1, list2;
  run_listing(list1, list2);
  EXPECT_EQ(list2, std::vector<std::string>{"(削除) " + to_path("p/a/doc.txt")});
  EXPECT_EQ(to().read("p/b/doc.txt"), "first, edited");
  EXPECT_EQ(kept_files(to()), 1u);
}

TEST_P(Moves, TwoAlikeFilesSwappedAreToldApartAndMoved) {
  in_step([](TempTree& side) {
    side.file("p/a/one.txt", "one!", kOld).file("p/b/two.txt", "two!", kOld);
  });
  move(from(), "p/a/one.txt", "p/b/one.txt");
  move(from(), "p/b/two.txt", "p/a/two.txt");
  std::vector<std::string> list1, list2;
  run_listing(list1, list2);
  EXPECT_EQ(to().read("p/b/one.txt"), "one!");
  EXPECT_EQ(to().read("p/a/two.txt"), "two!");
  EXPECT_EQ(differences(to().content(), from().content()), "");
  // By their identities, or else by the record's hash of their bytes.
  EXPECT_TRUE(list2.empty());
}

TEST_P(Moves, AMovedFolderKeepsAFileChangedOnTheDestinationSince) {
  in_step([](TempTree& side) {
    side.file("p/old/a.txt", "a", kOld).file("p/old/b.txt", "b", kOld);
  });
  move(from(), "p/old", "p/new");
  to().file("p/old/b.txt", "b, edited on the destination", kNew);
  std::vector<std::string> list1, list2;
  run_listing(list1, list2);
  EXPECT_EQ(to().read("p/old/b.txt"), "b, edited on the destination");
  EXPECT_EQ(to().read("p/new/a.txt"), "a");
  EXPECT_EQ(to().read("p/new/b.txt"), "b");
  EXPECT_FALSE(to().exists("p/old/a.txt"));
  EXPECT_EQ(kept_files(to()), 0u);
}

TEST_P(Moves, AWithdrawnMoveIsACreationAndADeletionAgain) {
  in_step([](TempTree& side) { side.file("p/a/doc.txt", "doc", kOld); });
  move(from(), "p/a", "p/b");
  start_again()
      .click(GetParam())
      .double_click(Control::List1, "(移動) ")
      .answer(Answer::Ok)
      .double_click(Control::List2, "(削除) " + to_path("p/a/doc.txt"))
      .answer(Answer::Ok)
      .click(GetParam())
      .click(Control::Button4);
  ASSERT_EQ(run_again(), 0);
  // The deletion withdrawn, the creation made.
  EXPECT_EQ(to().read("p/a/doc.txt"), "doc");
  EXPECT_EQ(to().read("p/b/doc.txt"), "doc");
}

// Changes that look like moves and are not, or that a rename cannot make:
// each leaves the destination as the source after one run.
TEST_P(Moves, WhatOnlyLooksLikeAMoveIsCopied) {
  in_step([](TempTree& side) {
    side.file("p/a.txt", "AAAA", kOld).file("p/q", "q bytes", kOld).file("p/x", "a file named x", kOld)
        .file("p/A/a.txt", "a", kOld).file("p/A/b.txt", "b", kOld);
  });
  // Another file of the same size and time where one was deleted (its
  // number on the volume may be the deleted one's).
  std::filesystem::remove(test::native(from().path("p/a.txt")));
  from().file("p/b.txt", "BBBB", kOld);
  // A file moved into a folder of its own name; a folder renamed onto the
  // name of a file deleted.
  move(from(), "p/q", "p/tmp");
  move(from(), "p/tmp", "p/q/q");
  std::filesystem::remove(test::native(from().path("p/x")));
  move(from(), "p/A", "p/x");
  std::vector<std::string> list1, list2;
  run_listing(list1, list2);
  EXPECT_EQ(differences(to().content(), from().content()), "");
  // The same where the record holds no hash: both sides held the file alike
  // before the pair's first run.
  to().file("p/c.txt", "CCCC", kOld);
  from().file("p/c.txt", "CCCC", kOld);
  run_listing(list1, list2);
  std::filesystem::remove(test::native(from().path("p/c.txt")));
  from().file("p/d.txt", "DDDD", kOld);
  run_listing(list1, list2);
  EXPECT_EQ(differences(to().content(), from().content()), "");
}

// A folder's removal withdrawn: what moved out of it stays there too.
TEST_P(Moves, AFolderKeptKeepsWhatMovedOutOfIt) {
  in_step([](TempTree& side) { side.file("p/P/x.txt", "x", kOld).file("p/P/y.txt", "y", kOld); });
  move(from(), "p/P/x.txt", "p/Q/x.txt");
  std::filesystem::remove_all(test::native(from().path("p/P")));
  start_again()
      .click(GetParam())
      .double_click(Control::List2, "(削除) " + to_path("p/P") + " ")
      .answer(Answer::Ok)
      .click(GetParam())
      .click(Control::Button4);
  ASSERT_EQ(run_again(), 0);
  EXPECT_EQ(to().read("p/Q/x.txt"), "x");
  EXPECT_EQ(to().read("p/P/x.txt"), "x");
  EXPECT_EQ(to().read("p/P/y.txt"), "y");
}

// Ten runs of a seeded sequence of 1,000 moves, renames, edits and copies:
// after each the destination holds exactly the source's tree, and nothing
// that only moved is ever kept.
TEST_P(Moves, ASeededSequenceOfChangesLeavesTheDestinationAsTheSource) {
  in_step([](TempTree& side) {
    for (int i = 0; i < 40; ++i) {
      side.file("p/d" + std::to_string(i % 6) + "/f" + std::to_string(i) + ".txt",
                "content " + std::to_string(i), kOld);
    }
  });
  std::mt19937 random(2026);
  int made = 0;
  std::vector<std::string> files, list1, list2;
  for (const auto& [path, content] : from().content()) {
    if (!path.ends_with('/')) files.push_back(path);
  }
  for (int round = 0; round < 10; ++round) {
    SCOPED_TRACE("round " + std::to_string(round));
    std::size_t edits = 0;
    for (int change = 0; change < 100; ++change) {
      std::string& file = files[random() % files.size()];
      const std::string folder = "p/d" + std::to_string(random() % 8);
      const std::string elsewhere = folder + "/m" + std::to_string(++made) + ".txt";
      switch (random() % 4) {
        case 0:  // moved into another folder
          move(from(), file, elsewhere);
          file = elsewhere;
          break;
        case 1: {  // renamed where it is
          const std::string renamed = file.substr(0, file.rfind('/')) + "/r" + std::to_string(made) + ".txt";
          move(from(), file, renamed);
          file = renamed;
          break;
        }
        case 2:  // edited, each edit later than the last whatever its size
          from().file(file, "edited " + std::to_string(made),
                      {2025, 1, 1 + round, 10, change / 15, change % 15 * 4});
          ++edits;
          break;
        default:  // copied elsewhere
          from().file(elsewhere, from().read(file), kOld);
          files.push_back(elsewhere);
      }
    }
    const std::size_t kept_before = kept_files(to());
    run_listing(list1, list2);
    EXPECT_EQ(differences(to().content(), from().content()), "");
    EXPECT_LE(kept_files(to()), kept_before + edits + list2.size());
  }
}

INSTANTIATE_TEST_SUITE_P(BothDirections, Moves, TAV_BOTH_ARROWS);

// The same on an exFAT stick through FUSE, whose entries have no identity
// that lasts: from the stick, files of one size and time are told apart by
// the record's hash of their bytes.
class MovesOnAStick : public Moves {
 protected:
  void SetUp() override {
    stick.emplace(drive.root(), 32 << 20);
    if (!stick->why_not().empty()) GTEST_SKIP() << stick->why_not();
  }
  void TearDown() override { stick.reset(); }
  std::optional<test::StickImage> stick;
};

TEST_P(MovesOnAStick, AFolderRenamedIsRenamedAndSwappedFilesMoved) {
  in_step([](TempTree& side) {
    for (int i = 0; i < 20; ++i) side.file("p/2026/f" + std::to_string(i) + ".txt", "file " + std::to_string(i), kOld);
    side.file("p/a/one.txt", "one!", kOld).file("p/b/two.txt", "two!", kOld);
  });
  move(from(), "p/2026", "p/2026-done");
  move(from(), "p/a/one.txt", "p/b/one.txt");
  move(from(), "p/b/two.txt", "p/a/two.txt");
  std::vector<std::string> list1, list2;
  run_listing(list1, list2);
  EXPECT_EQ(list1, (std::vector<std::string>{"(移動) " + to_path("p/2026-done"),
                                             "(移動) " + to_path("p/a/two.txt"),
                                             "(移動) " + to_path("p/b/one.txt")}));
  EXPECT_EQ(differences(to().content(), from().content()), "");
  EXPECT_EQ(kept_files(to()), 0u);
}

INSTANTIATE_TEST_SUITE_P(BothDirections, MovesOnAStick, TAV_BOTH_ARROWS);

}  // namespace
}  // namespace tav
