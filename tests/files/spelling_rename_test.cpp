// Giving an entry another spelling of its name, natively and on the FAT32
// and exFAT volumes of the run (which ignore a rename that changes case
// only): files and folders with what they hold, each refusal in turn, and
// the temporary name between the two.
#include "files/spelling_rename.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "files/operations.h"
#include "platform/folder_reading.h"
#include "platform/system_faults.h"
#include "support/expect_error.h"
#include "support/temp_tree.h"

namespace tav {
namespace {

using test::TempTree;

// "が" composed, and decomposed as a Mac writes it.
#define GA "\u304C"
#define GA_D "\u304B\u3099"

// The FUSE FAT32 driver takes no name beyond ASCII, and a folder renamed
// there loses what it holds (a fault of that driver: a check of the image
// finds the clusters lost), so it renames files of ASCII names only.
struct Volume {
  std::optional<std::string> root;  // none: a native folder
  bool whole = true;                // Unicode names and folders too
};

// Native, then each volume of the run that is mounted.
std::vector<Volume> volumes() {
  std::vector<Volume> found{{}};
#ifdef _WIN32
  if (const auto root = test::test_volume_root("fat32")) found.push_back({root, true});
#else
  if (const auto root = test::test_volume_root("fat32")) found.push_back({root, false});
#endif
  if (const auto root = test::test_volume_root("exfat")) found.push_back({root, true});
  return found;
}

TEST(SpellingRename, GivesFilesAndFoldersTheNewSpellingOnEachVolume) {
  struct Spelling {
    const char* from;
    const char* to;
    bool whole_only;
  };
  const Spelling spellings[] = {{"a.txt", "A.txt", false},
                                {"Docs", "docs", true},
                                {GA_D ".txt", GA ".txt", true},
                                {GA "x", GA_D "x", true}};
  for (const Volume& volume : volumes()) {
    SCOPED_TRACE(volume.root.value_or("native"));
    std::optional<TempTree> made;
    if (volume.root) {
      made.emplace(*volume.root);
    } else {
      made.emplace();
    }
    TempTree& tree = *made;
    tree.file("a.txt", "a");
    TempTree::Content expected{{"A.txt", "a"}};
    if (volume.whole) {
      tree.file("Docs/x", "x").file(GA_D ".txt", "g").file(GA "x/y", "y");
      expected.insert({{"docs/", ""}, {"docs/x", "x"}, {GA ".txt", "g"}, {GA_D "x/", ""},
                       {GA_D "x/y", "y"}});
    }
    for (const Spelling& spelling : spellings) {
      if (spelling.whole_only && !volume.whole) continue;
      // As the scan confirms a pair: a look-up by the new spelling first.
      lookup_finds(tree.root(), spelling.to);
      rename_spelling(tree.root(), spelling.from, spelling.to,
                      spelling_temporary_name(tree.root_with_separator()));
    }
    EXPECT_EQ(tree.content(), expected);
  }
}

// The first rename refused leaves all as it was; the second refused puts
// the first back: the entry is at its old name, nothing at the temporary one.
TEST(SpellingRename, EachRefusalLeavesTheEntryAtItsOldNameAndNoTemporaryName) {
  for (const std::size_t nth : {1u, 2u}) {
    SCOPED_TRACE(nth);
    TempTree tree;
    tree.file("Docs/x", "x");
    const std::string temporary = spelling_temporary_name(tree.root());
    {
      const sys::FaultPlan plan(sys::Call::Rename, nth, sys::kAccessDenied);
      EXPECT_EQ(test::error_number_of([&] { rename_spelling(tree.root(), "Docs", "docs", temporary); }),
                75);
    }
    EXPECT_EQ(tree.content(), (TempTree::Content{{"Docs/", ""}, {"Docs/x", "x"}}));
  }
}

// The name between the spellings is free, and no copy's temporary name: an
// entry a killed run left there is the user's, never cleared as one.
TEST(SpellingRename, TheTemporaryNameIsFreeAndNoCopysTemporaryName) {
  TempTree tree;
  const std::string first = spelling_temporary_name(tree.root());
  EXPECT_TRUE(is_spelling_temporary_name(first));
  EXPECT_FALSE(is_temporary_name(first));
  EXPECT_FALSE(is_spelling_temporary_name("~tavrelon-rename-1-x"));
  // The next counter's name taken, the one after it is given.
  const auto dash = first.rfind('-');
  const std::string prefix = first.substr(0, dash + 1);
  const unsigned next = static_cast<unsigned>(std::stoul(first.substr(dash + 1))) + 1;
  tree.file(prefix + std::to_string(next));
  EXPECT_EQ(spelling_temporary_name(tree.root()), prefix + std::to_string(next + 1));
}

}  // namespace
}  // namespace tav
