// The scan over snapshots of both trees: the same work as a walk that looks
// every path up as it goes, what it keeps of each file, its limits, names
// in another Unicode form or (on volumes that ignore case) another case,
// and two of one name on a side.
#include "scan/scan_trees.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <random>

#include "platform/text.h"
#include "support/expect_error.h"
#include "support/reference_scan.h"
#include "support/sample_trees.h"
#include "support/temp_tree.h"

namespace tav {
namespace {

using test::LocalTime;
using test::TempTree;

class Quiet final : public ScanProgress {
 public:
  void searching(std::string_view) override {}
  void between_steps() override {}
};

Roots roots_of(const TempTree& folder_side, const std::string& drive_root, Direction direction) {
  Roots roots;
  roots.direction = direction;
  roots.folder_path = folder_side.root();
  roots.folder_root = folder_side.root_with_separator();
  roots.drive_root = drive_root;
  return roots;
}

ScanOutcome scan(const Roots& roots, WorkTables& tables, const PassLimits& limits = {}) {
  Quiet quiet;
  ScanFindings findings;
  return scan_trees(roots, tables, quiet, findings, limits);
}

// A pair of trees made at random from a seed: folders and files on one
// side, the other or both, written at moments a few seconds or a day apart.
class RandomPair {
 public:
  RandomPair(TempTree& folder_side, TempTree& drive_side, unsigned seed)
      : sides_{&folder_side, &drive_side}, random_(seed) {
    for (TempTree* side : sides_) side->file("root file", "r", kTimes[0]);
    for (const char* top : {"a", "ソ表", " blank"}) fill(top, 1, both());
    folder_side.file("only here/f", "x");
    drive_side.file("only there/f", "x");
  }

 private:
  static constexpr std::array<LocalTime, 5> kTimes{{{2024, 5, 1, 10, 0, 0},
                                                    {2024, 5, 1, 10, 0, 3},
                                                    {2024, 5, 1, 10, 0, 4},
                                                    {2024, 5, 1, 23, 59, 59},
                                                    {2024, 5, 2, 0, 0, 1}}};

  // Which sides hold an item: both, or one of them.
  std::array<bool, 2> both() const { return {true, true}; }
  std::array<bool, 2> sides() {
    const unsigned roll = random_() % 5;
    return {roll != 3, roll != 4};
  }

  void fill(const std::string& folder, int level, std::array<bool, 2> held) {
    for (int side = 0; side < 2; ++side) {
      if (held[side]) sides_[side]->folder(folder);
    }
    const unsigned files = random_() % 5;
    for (unsigned i = 0; i < files; ++i) {
      const std::string name = folder + "/" + (i % 2 ? "file " : "表") + std::to_string(i);
      const std::array<bool, 2> file_held = sides();
      for (int side = 0; side < 2; ++side) {
        if (held[side] && file_held[side]) {
          sides_[side]->file(name, "content", kTimes[random_() % kTimes.size()]);
        }
      }
    }
    if (level == 3) return;
    const unsigned folders = random_() % 3;
    for (unsigned i = 0; i < folders; ++i) {
      const std::array<bool, 2> sub = sides();
      fill(folder + "/sub" + std::to_string(i), level + 1, {held[0] && sub[0], held[1] && sub[1]});
    }
  }

  std::array<TempTree*, 2> sides_;
  std::mt19937 random_;
};

TEST(ScanTrees, ListsWhatAWalkLookingEveryPathUpLists) {
  for (const unsigned seed : {1u, 2u, 3u}) {
    TempTree folder_side, drive_side;
    RandomPair(folder_side, drive_side, seed);
    for (const Direction direction : {Direction::FolderToDrive, Direction::DriveToFolder}) {
      const Roots roots = roots_of(folder_side, drive_side.root_with_separator(), direction);
      WorkTables tables;
      scan(roots, tables);
      EXPECT_EQ(test::listed_work(tables), test::reference_scan(roots)) << "seed " << seed;
      for (std::size_t slot = 1; slot <= tables.copies.count(); ++slot) {
        const CopyEntry& entry = tables.copies[slot];
        EXPECT_EQ(entry.left_seen.has_value(), !entry.left_date.empty()) << entry.path;
        EXPECT_EQ(entry.right_seen.has_value(), !entry.right_date.empty()) << entry.path;
      }
    }
  }
}

TEST(ScanTrees, KeepsTheWriteTimeAndSizeItSawOnEachSide) {
  TempTree folder_side, drive_side;
  test::make_sample_trees(folder_side, drive_side);
  WorkTables tables;
  scan(roots_of(folder_side, drive_side.root_with_separator(), Direction::FolderToDrive), tables);
  const auto seconds = [](const TempTree& tree, std::string_view rel) {
    const auto written = std::filesystem::last_write_time(test::native(tree.path(rel)));
    return std::chrono::duration_cast<std::chrono::seconds>(
               std::chrono::file_clock::to_sys(written).time_since_epoch()).count();
  };
  ASSERT_EQ(tables.copies[1].path, std::string("proj") + kPathSeparator + "a.txt");
  EXPECT_EQ(tables.copies[1].left_seen->size, 5u);  // "new a"
  EXPECT_EQ(tables.copies[1].left_seen->written.seconds, seconds(folder_side, "proj/a.txt"));
  EXPECT_EQ(tables.copies[1].right_seen->size, 5u);  // "old a"
  EXPECT_EQ(tables.copies[1].right_seen->written.seconds, seconds(drive_side, "proj/a.txt"));
  ASSERT_EQ(tables.deleted_files.count(), 2u);
  EXPECT_EQ(tables.deleted_files[1].seen.size, 9u);  // "to delete"
}

TEST(ScanTrees, PassesOverDotNamesWithBlanksAround) {
  if (kPathSeparator == '\\') GTEST_SKIP() << "names cannot end in a blank or a dot here";
  TempTree folder_side, drive_side;
  folder_side.file("p/ .. ", "x").file("p/\u3000.", "x").file("p/...", "x");
  drive_side.folder("p");
  WorkTables tables;
  scan(roots_of(folder_side, drive_side.root_with_separator(), Direction::FolderToDrive), tables);
  ASSERT_EQ(tables.copies.count(), 1u);
  EXPECT_EQ(tables.copies[1].path, std::string("p") + kPathSeparator + "...");
}

// A walked tree of exactly as many folders as its pass holds (the root
// included) is scanned; one more is run-time error 9.
void expect_pass_holds(std::size_t folders, bool on_the_drive, const PassLimits& limits) {
  TempTree folder_side, drive_side;
  TempTree& walked = on_the_drive ? drive_side : folder_side;
  (on_the_drive ? folder_side : drive_side).folder("p");
  for (std::size_t i = 0; i + 2 < folders; ++i) walked.folder("p/" + std::to_string(i));
  const Roots roots = roots_of(folder_side, drive_side.root_with_separator(), Direction::FolderToDrive);
  WorkTables tables;
  EXPECT_EQ(scan(roots, tables, limits), ScanOutcome::Review) << folders;
  walked.folder("p/one too many");
  WorkTables more;
  EXPECT_EQ(test::error_number_of([&] { scan(roots, more, limits); }), 9) << folders;
}

// The program's passes hold 9,999 and 8,000 folders; what a pass holds is
// proven on a few dozen (ten thousand folders take minutes under Wine).
TEST(ScanTrees, EachPassHoldsItsFoldersToTheLastAndNoMore) {
  EXPECT_EQ(PassLimits{}.first, 9999u);
  EXPECT_EQ(PassLimits{}.second, 8000u);
  const PassLimits limits{.first = 30, .second = 20};
  expect_pass_holds(30, true, limits);   // the drive's pass comes first
  expect_pass_holds(20, false, limits);
}

// "が" composed, as Linux and Windows write it, and decomposed, as a Mac does.
#define GA "\u304C"
#define GA_D "\u304B\u3099"

// What a scan listed, paths with "/": copies as their paths, renames as
// "path <- old name" ("/" after a folder's path), deletions and new folders
// relative to their root, and the names of groups left out.
struct Listed {
  std::vector<std::string> copies, renames, deleted, made, same_names;
  bool operator==(const Listed&) const = default;
};

void PrintTo(const Listed& listed, std::ostream* out) {
  const auto put = [out](const char* what, const std::vector<std::string>& items) {
    *out << what << ":";
    for (const std::string& item : items) *out << " [" << item << "]";
    *out << "\n";
  };
  put("copies", listed.copies);
  put("renames", listed.renames);
  put("deleted", listed.deleted);
  put("made", listed.made);
  put("same names", listed.same_names);
}

std::string slashed(std::string path) {
  std::ranges::replace(path, kPathSeparator, '/');
  return path;
}

Listed listed(const Roots& roots, Direction direction) {
  Roots scanned = roots;
  scanned.direction = direction;
  WorkTables tables;
  ScanFindings findings;
  Quiet quiet;
  scan_trees(scanned, tables, quiet, findings);
  const std::string& root = scanned.destination_root();
  Listed found;
  for (const auto& [slot, copy] : tables.copies.listed()) found.copies.push_back(slashed(copy.path));
  for (const auto& [slot, rename] : tables.renames.listed()) {
    found.renames.push_back(slashed(rename.path) + (rename.folder ? "/" : "") + " <- " +
                            rename.old_name);
  }
  for (const auto& [slot, file] : tables.deleted_files.listed()) {
    found.deleted.push_back(slashed(file.path.substr(root.size())));
  }
  for (const auto& [slot, folder] : tables.deleted_folders.listed()) {
    found.deleted.push_back(slashed(folder.substr(root.size())) + "/");
  }
  for (const auto& [slot, folder] : tables.new_folders.listed()) {
    found.made.push_back(slashed(folder.substr(root.size())) + "/");
  }
  for (const std::string& name : findings.same_names) found.same_names.push_back(slashed(name));
  return found;
}

void expect_listed(const Roots& roots, const Listed& to_drive, const Listed& to_folder) {
  EXPECT_EQ(listed(roots, Direction::FolderToDrive), to_drive);
  EXPECT_EQ(listed(roots, Direction::DriveToFolder), to_folder);
}

// A folder and a file in each form, the folder's file newer where Linux
// wrote it: one entry each, renamed to the source's spelling (a folder
// before what it holds), never created and deleted.
TEST(ScanTrees, NamesInAnotherUnicodeFormAreOneEntryRenamedToTheSourcesSpelling) {
  TempTree folder_side, drive_side;
  folder_side.file("p/" GA "/x.txt", "new", test::kNew).file("p/" GA ".txt", "same", test::kOld);
  drive_side.file("p/" GA_D "/x.txt", "old", test::kOld).file("p/" GA_D ".txt", "same", test::kOld);
  expect_listed(roots_of(folder_side, drive_side.root_with_separator(), Direction::FolderToDrive),
                {.copies = {"p/" GA "/x.txt"},
                 .renames = {"p/" GA ".txt <- " GA_D ".txt", "p/" GA "/ <- " GA_D}},
                {.renames = {"p/" GA_D ".txt <- " GA ".txt", "p/" GA_D "/ <- " GA}});
}

// Two of one name on a side: nothing of the group, on either side, is
// copied, renamed or deleted, nor the folder that holds them; each group is
// named once, by the source's spelling where the source holds it.
TEST(ScanTrees, TwoOfOneNameOnASideAreLeftOutOnBothSidesAndNamedOnce) {
  TempTree folder_side, drive_side;
  folder_side.file("p/" GA ".txt", "new", test::kNew).file("p/" GA_D ".txt", "new", test::kNew)
      .file("p/q/" GA, "new", test::kNew);
  drive_side.file("p/" GA ".txt", "old", test::kOld).file("p/q/" GA, "old", test::kOld)
      .file("p/q/" GA_D, "old", test::kOld).file("p/gone/" GA, "x").file("p/gone/" GA_D, "x");
  expect_listed(roots_of(folder_side, drive_side.root_with_separator(), Direction::FolderToDrive),
                {.same_names = {"p/gone/" GA_D, "p/q/" GA, "p/" GA_D ".txt"}},
                {.made = {"p/gone/"}, .same_names = {"p/gone/" GA_D, "p/q/" GA_D, "p/" GA ".txt"}});
}

TEST(ScanTrees, OnAVolumeThatIgnoresCaseTwoSpellingsAreOneEntryRenamedToTheSourcesSpelling) {
  const auto volume = test::test_volume_root("exfat");
  if (!volume) GTEST_SKIP() << "no exFAT volume mounted for this test run (scripts/test mounts one as root)";
  TempTree folder_side, stick(*volume);
  folder_side.file("p/Readme.TXT", "new", test::kNew).file("p/Docs/a", "new", test::kNew)
      .file("p/x", "x").file("p/X", "x");
  stick.file("p/readme.txt", "old", test::kOld).file("p/docs/a", "old", test::kOld);
  // The folder side's two spellings of x are one name to the stick.
  expect_listed(roots_of(folder_side, stick.root_with_separator(), Direction::FolderToDrive),
                {.copies = {"p/Readme.TXT", "p/Docs/a"},
                 .renames = {"p/Readme.TXT <- readme.txt", "p/Docs/ <- docs"},
                 .same_names = {"p/X"}},
                {.renames = {"p/readme.txt <- Readme.TXT", "p/docs/ <- Docs"},
                 .same_names = {"p/X"}});
}

}  // namespace
}  // namespace tav
