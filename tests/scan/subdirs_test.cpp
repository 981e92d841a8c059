#include "scan/subdirs.h"

#include <gtest/gtest.h>

#include "platform/text.h"
#include "support/current_folder.h"
#include "support/expect_error.h"
#include "support/temp_tree.h"

namespace tav {
namespace {

using test::TempTree;

// The walk's folders relative to the tree, "" for the root, with "/".
std::vector<std::string> relative(const TempTree& tree, const std::vector<std::string>& folders) {
  std::vector<std::string> result;
  for (const auto& folder : folders) {
    std::string rel = folder.substr(std::min(folder.size(), tree.root().size()));
    if (!rel.empty()) rel.erase(0, 1);
    for (char& c : rel) c = c == kPathSeparator ? '/' : c;
    result.push_back(rel);
  }
  return result;
}

TEST(GetSubdirs, RootFirstThenPreOrder) {
  TempTree tree;
  tree.folder("doc/old/older").folder("pic").file("doc/a.txt").file("root.txt");
  const auto folders = get_subdirs(tree.root());
  ASSERT_EQ(folders.size(), 5u);
  EXPECT_EQ(folders[0], tree.root());
  const auto rel = relative(tree, folders);
  // Siblings come in the system's order; a folder always precedes its subfolders.
  const auto at = [&](const char* name) { return std::find(rel.begin(), rel.end(), name) - rel.begin(); };
  EXPECT_LT(at("doc"), at("doc/old"));
  EXPECT_EQ(at("doc/old") + 1, at("doc/old/older"));
  EXPECT_LT(at("pic"), 5);
}

TEST(GetSubdirs, TrailingSeparatorMakesNoDifference) {
  TempTree tree;
  tree.folder("a/b");
  EXPECT_EQ(get_subdirs(tree.root()), get_subdirs(tree.root_with_separator()));
  EXPECT_EQ(get_subdirs(tree.root_with_separator())[0], tree.root());
}

TEST(GetSubdirs, FilesNeverEnterAndARootWithoutFoldersCountsOne) {
  TempTree tree;
  tree.file("a.txt").file(".hidden");
  test::set_read_only(tree.path("a.txt"), true);
  EXPECT_EQ(get_subdirs(tree.root()), std::vector<std::string>{tree.root()});
}

TEST(GetSubdirs, NamesWithSecondByteOfBackslash) {
  TempTree tree;
  tree.folder("ソ/表/能");
  EXPECT_EQ(relative(tree, get_subdirs(tree.root())),
            (std::vector<std::string>{"", "ソ", "ソ/表", "ソ/表/能"}));
}

TEST(GetSubdirs, LinksToFoldersAreNeitherRecordedNorEntered) {
  TempTree tree;
  tree.folder("a/inner").folder("outside/deep");
  if (!test::make_folder_link(tree.path("outside"), tree.path("a/link")) ||
      !test::make_folder_link(tree.root(), tree.path("a/loop"))) {
    GTEST_SKIP() << "this system refuses to make folder links";
  }
  EXPECT_EQ(relative(tree, get_subdirs(tree.path("a"))),
            (std::vector<std::string>{"a", "a/inner"}));
}

TEST(GetSubdirs, CallsBackOncePerFolder) {
  TempTree tree;
  tree.folder("a/b").folder("c");
  int calls = 0;
  get_subdirs(tree.root(), [&] { ++calls; });
  EXPECT_EQ(calls, 4);
}

TEST(GetSubdirs, MoreThanTenThousandFoldersIsError9) {
  TempTree tree;
  for (int i = 0; i < 9999; ++i) tree.folder("f" + std::to_string(i));
  EXPECT_EQ(get_subdirs(tree.root()).size(), 10000u);
  tree.folder("one-too-many");
  EXPECT_EQ(test::error_number_of([&] { get_subdirs(tree.root()); }), 9);
}

TEST(GetSubdirs, A128thLevelIsError9) {
  // Only a short root leaves room for 127 levels within 260 bytes: walk "."
  // from inside the tree.
  test::InTemporaryFolder here;
  std::string deep = ".";
  for (int level = 2; level <= 127; ++level) deep += std::string(1, kPathSeparator) + "d";
  std::filesystem::create_directories(test::native(deep));
  EXPECT_EQ(get_subdirs(".").size(), 127u);
  std::filesystem::create_directories(test::native(deep + kPathSeparator + "d"));
  EXPECT_EQ(test::error_number_of([&] { get_subdirs("."); }), 9);
}

TEST(SkipEntry, PassesOverDotsAndFolders) {
  EXPECT_TRUE(skip_entry(".", "D--"));
  EXPECT_TRUE(skip_entry("..", "D--"));
  EXPECT_TRUE(skip_entry(" .. \u3000", "---"));
  EXPECT_TRUE(skip_entry("doc", "D-A"));
  EXPECT_FALSE(skip_entry("a.txt", "-RA"));
  EXPECT_FALSE(skip_entry(".hidden", "--A"));
  EXPECT_FALSE(skip_entry("...", "---"));
}

}  // namespace
}  // namespace tav
