// Paths reached beneath a root in real trees: what stands there, the names
// refused, links to folders on the way, and files read whole up to a limit.
#include "platform/beneath.h"

#include <gtest/gtest.h>

#include "platform/text.h"
#include "support/temp_tree.h"

namespace tav {
namespace {

using sys::ReadBeneath;
using sys::Reached;

Reached reach(const test::TempTree& tree, std::string_view rel) {
  return sys::reach_beneath(tree.root_with_separator(), test::native_rel(rel));
}

TEST(ReachBeneath, TellsWhatStandsThereAndRefusesStrayNames) {
  test::TempTree tree;
  tree.folder("a/b").file("a/f", "x").file("f");
  const struct {
    std::string_view rel;
    Reached expected;
  } cases[] = {
      {"", Reached::Folder},          {"a", Reached::Folder},
      {"a/b", Reached::Folder},       {"a/f", Reached::File},
      {"missing", Reached::Missing},  {"a/missing", Reached::Missing},
      {"missing/f", Reached::Missing}, {"f/x", Reached::Refused},
      {"a//b", Reached::Refused},     {"a/", Reached::Refused},
      {"/a", Reached::Refused},       {"./a", Reached::Refused},
      {"a/.", Reached::Refused},      {"a/../f", Reached::Refused},
      {"..", Reached::Refused},
  };
  for (const auto& c : cases) EXPECT_EQ(reach(tree, c.rel), c.expected) << c.rel;

  // Names Windows would take as another name, a device or a stream; on
  // other systems ordinary names that are not there.
  const Reached stray = kPathSeparator == '\\' ? Reached::Refused : Reached::Missing;
  for (std::string_view rel : {"CON", "a/NUL.txt", "a.", "a ", "a:stream", "a?"}) {
    EXPECT_EQ(reach(tree, rel), stray) << rel;
  }
  EXPECT_EQ(sys::reach_beneath(tree.root_with_separator(), "a/x"), stray);
}

TEST(ReachBeneath, RefusesLinksToFoldersButNotAtTheRoot) {
  test::TempTree tree, outside;
  tree.folder("a");
  outside.folder("inner").file("f", "outside");
  if (!test::make_folder_link(outside.root(), tree.path("a/link"))) {
    GTEST_SKIP() << "this system makes no links to folders here";
  }
  for (std::string_view rel : {"a/link", "a/link/inner", "a/link/f"}) {
    EXPECT_EQ(reach(tree, rel), Reached::Refused) << rel;
  }
  std::string content;
  EXPECT_EQ(sys::read_beneath(tree.root_with_separator(), test::native_rel("a/link/f"), 100,
                              content),
            ReadBeneath::Refused);
  // The root is trusted however it is reached.
  EXPECT_EQ(sys::reach_beneath(tree.path("a/link") + kPathSeparator, "inner"), Reached::Folder);
}

TEST(ReadBeneath, ReadsRegularFilesUpToTheLimit) {
  test::TempTree tree;
  tree.folder("a").file("a/four", "1234").file("empty");
  const struct {
    std::string_view rel;
    std::size_t max_bytes;
    ReadBeneath expected;
  } cases[] = {
      {"a/four", 4, ReadBeneath::Read},        {"a/four", 3, ReadBeneath::TooLarge},
      {"empty", 0, ReadBeneath::Read},         {"a/missing", 4, ReadBeneath::Missing},
      {"missing/four", 4, ReadBeneath::Missing}, {"a", 4, ReadBeneath::Refused},
      {"", 4, ReadBeneath::Refused},           {"a/../a/four", 4, ReadBeneath::Refused},
  };
  for (const auto& c : cases) {
    std::string content = "before";
    EXPECT_EQ(sys::read_beneath(tree.root_with_separator(), test::native_rel(c.rel), c.max_bytes,
                                content),
              c.expected)
        << c.rel << " " << c.max_bytes;
    const bool read = c.expected == ReadBeneath::Read;
    EXPECT_EQ(content, read ? tree.read(c.rel) : "before") << c.rel;
  }
}

}  // namespace
}  // namespace tav
