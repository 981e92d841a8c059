// The facts of real volumes: the test's own folders, the small file system
// and the FAT32 and exFAT volumes of the test run, where it provides them.
#include "platform/volume_facts.h"

#include <gtest/gtest.h>

#include "platform/text.h"
#include "support/temp_tree.h"
#include "worklist/destination_rules.h"

namespace tav {
namespace {

TEST(VolumeFacts, TellFoldersAndVolumesApart) {
  test::TempTree tree;
  tree.folder("a").folder("b").file("file");
  const auto a = volume_facts(tree.path("a"));
  const auto again = volume_facts(tree.path("a") + kPathSeparator);
  const auto b = volume_facts(tree.path("b"));
  ASSERT_TRUE(a && again && b);
  EXPECT_EQ(a->identity, again->identity);
  EXPECT_NE(a->identity, b->identity);
  EXPECT_TRUE(a->free_bytes);
  EXPECT_FALSE(volume_facts(tree.path("missing")));
  EXPECT_FALSE(volume_facts(tree.path("file")));

  const test::HeldSmallFileSystem held;
  if (!held.root()) GTEST_SKIP() << "this run provides no small file system (TAVRELON_SMALL_FS)";
  const auto small = volume_facts(*held.root());
  ASSERT_TRUE(small && small->free_bytes);
  EXPECT_NE(small->identity, a->identity);
  EXPECT_LE(*small->free_bytes, 64u << 10);
}

TEST(VolumeFacts, NameTheFileSystemsOfRemovableDrives) {
  struct Expected {
    std::string_view kind;
    bool small_files;
  };
  int seen = 0;
  for (const Expected expected : {Expected{"fat32", true}, Expected{"exfat", false}}) {
    const auto root = test::test_volume_root(expected.kind);
    if (!root) continue;
    ++seen;
    const auto facts = volume_facts(*root);
    ASSERT_TRUE(facts) << expected.kind;
    const DestinationRules rules = rules_for(facts->file_system, false, false);
    EXPECT_TRUE(rules.windows_names) << expected.kind << ": " << facts->file_system;
    EXPECT_TRUE(rules.ignores_case) << expected.kind << ": " << facts->file_system;
    EXPECT_EQ(rules.small_files, expected.small_files)
        << expected.kind << ": " << facts->file_system;
  }
  // exFAT through FUSE: the device tells its serial.
  if (const auto exfat = test::test_volume_root("exfat")) {
    EXPECT_FALSE(volume_facts(*exfat)->identity.serial.empty());
  }
  if (seen == 0) {
    GTEST_SKIP() << "no FAT32 or exFAT volume for this run (scripts/test mounts them as root on "
                    "Linux; under Wine S: is FAT32)";
  }
}

}  // namespace
}  // namespace tav
