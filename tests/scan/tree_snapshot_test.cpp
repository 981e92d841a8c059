#include "scan/tree_snapshot.h"

#include <gtest/gtest.h>

#include "platform/text.h"
#include "support/current_folder.h"
#include "support/expect_error.h"
#include "support/temp_tree.h"

namespace tav {
namespace {

using test::TempTree;

std::vector<std::string> folders_of(std::string_view root) {
  std::vector<std::string> paths;
  for (const TreeFolder& folder : read_tree(root).folders) paths.push_back(folder.path);
  return paths;
}

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

TEST(ReadTree, RootFirstThenPreOrder) {
  TempTree tree;
  tree.folder("doc/old/older").folder("pic").file("doc/a.txt").file("root.txt");
  const auto folders = folders_of(tree.root());
  ASSERT_EQ(folders.size(), 5u);
  EXPECT_EQ(folders[0], tree.root());
  const auto rel = relative(tree, folders);
  // Siblings come in the system's order; a folder always precedes its subfolders.
  const auto at = [&](const char* name) { return std::find(rel.begin(), rel.end(), name) - rel.begin(); };
  EXPECT_LT(at("doc"), at("doc/old"));
  EXPECT_EQ(at("doc/old") + 1, at("doc/old/older"));
  EXPECT_LT(at("pic"), 5);
}

TEST(ReadTree, TrailingSeparatorMakesNoDifference) {
  TempTree tree;
  tree.folder("a/b");
  EXPECT_EQ(folders_of(tree.root()), folders_of(tree.root_with_separator()));
  EXPECT_EQ(folders_of(tree.root_with_separator())[0], tree.root());
}

TEST(ReadTree, FilesNeverEnterAndARootWithoutFoldersCountsOne) {
  TempTree tree;
  tree.file("a.txt").file(".hidden");
  test::set_read_only(tree.path("a.txt"), true);
  EXPECT_EQ(folders_of(tree.root()), std::vector<std::string>{tree.root()});
}

TEST(ReadTree, NamesWithSecondByteOfBackslash) {
  TempTree tree;
  tree.folder("ソ/表/能");
  EXPECT_EQ(relative(tree, folders_of(tree.root())),
            (std::vector<std::string>{"", "ソ", "ソ/表", "ソ/表/能"}));
}

TEST(ReadTree, LinksToFoldersAreNeitherRecordedNorEntered) {
  TempTree tree;
  tree.folder("a/inner").folder("outside/deep");
  if (!test::make_folder_link(tree.path("outside"), tree.path("a/link")) ||
      !test::make_folder_link(tree.root(), tree.path("a/loop"))) {
    GTEST_SKIP() << "this system refuses to make folder links";
  }
  EXPECT_EQ(relative(tree, folders_of(tree.path("a"))),
            (std::vector<std::string>{"a", "a/inner"}));
}

TEST(ReadTree, CallsBackOncePerFolder) {
  TempTree tree;
  tree.folder("a/b").folder("c");
  int calls = 0;
  read_tree(tree.root(), [&](const std::string&) { ++calls; });
  EXPECT_EQ(calls, 4);
}

// The program reads up to ten thousand folders; the walk's count is proven
// on a limit of twenty (ten thousand folders take minutes under Wine).
TEST(ReadTree, EndsOverItsFolderLimitCountingTheWholeTree) {
  EXPECT_EQ(TreeLimits{}.folders, 10000u);
  const TreeLimits limits{.folders = 20};
  TempTree tree;
  for (int i = 0; i < 9; ++i) tree.folder("f" + std::to_string(i) + "/sub");
  tree.folder("last");
  const TreeSnapshot within = read_tree(tree.root(), {}, limits);
  EXPECT_EQ(within.folders.size(), 20u);
  EXPECT_FALSE(within.over_limits);
  tree.folder("f0/sub/one too many");
  EXPECT_TRUE(read_tree(tree.root(), {}, limits).over_limits);
}

// The program's own state at the root (kept runs mirror whole trees) is
// never walked, so it counts against no limit; a folder of that name lower
// down is the user's.
TEST(ReadTree, PassesOverTheStateFolderAtTheRootOnly) {
  TempTree tree;
  for (int i = 0; i < 30; ++i) tree.folder(".tavrelon/kept/run" + std::to_string(i));
  tree.folder("p/.tavrelon");
  const TreeSnapshot read = read_tree(tree.root(), {}, TreeLimits{.folders = 20});
  EXPECT_FALSE(read.over_limits);
  EXPECT_EQ(relative(tree, folders_of(tree.root())),
            (std::vector<std::string>{"", "p", "p/.tavrelon"}));
}

TEST(ReadTree, EndsAtA128thLevel) {
  // Only a short root leaves room for 127 levels within 260 bytes: walk "."
  // from inside the tree.
  test::InTemporaryFolder here;
  std::string deep = ".";
  for (int level = 2; level <= 127; ++level) deep += std::string(1, kPathSeparator) + "d";
  std::filesystem::create_directories(test::native(deep));
  const TreeSnapshot within = read_tree(".");
  EXPECT_EQ(within.folders.size(), 127u);
  EXPECT_FALSE(within.over_limits);
  std::filesystem::create_directories(test::native(deep + kPathSeparator + "d"));
  EXPECT_TRUE(read_tree(".").over_limits);
}

}  // namespace
}  // namespace tav
