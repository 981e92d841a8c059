// From COMBO1's text to the root of a mounted volume: the mount point it
// names while a volume is mounted there; for a text naming no mount point,
// the key of the list of this run; else nothing.
#include <gtest/gtest.h>

#include "mounted_root.h"
#include "platform/drives.h"
#include "platform/posix/drives_posix.h"

namespace tav::posix {
namespace {

const std::vector<Drive> kListed{
    {"A: 固定ディスク /", "/"},
    {"B: USB・FD等交換可能ディスク /media/kim/MY STICK", "/media/kim/MY STICK/"},
    {"C: RAMディスク /tmp", "/tmp/"},
};

TEST(DriveRoot, TheNamedMountPointDecidesWhileItIsMounted) {
  const std::vector<std::string> mounted{"/", "/media/kim/MY STICK", "/media/kim/OTHER"};
  EXPECT_EQ(resolve_volume_root(kListed[1].entry, kListed, mounted), "/media/kim/MY STICK/");
  // Mounted after start-up, or under another key today: the mount point wins.
  EXPECT_EQ(resolve_volume_root("A: USB・FD等交換可能ディスク /media/kim/OTHER", kListed, mounted),
            "/media/kim/OTHER/");
  EXPECT_EQ(resolve_volume_root("/media/kim/OTHER/", kListed, mounted), "/media/kim/OTHER/");
  EXPECT_EQ(resolve_volume_root("A: 固定ディスク /", kListed, mounted), "/");
}

TEST(DriveRoot, AKeyWithoutMountPointPicksFromThisRunsList) {
  const std::vector<std::string> mounted{"/", "/media/kim/MY STICK"};
  EXPECT_EQ(resolve_volume_root("B", kListed, mounted), "/media/kim/MY STICK/");
  EXPECT_EQ(resolve_volume_root("C: RAMディスク", kListed, mounted), "/tmp/");
}

TEST(DriveRoot, AMountPointWithoutItsVolumeNamesNothing) {
  // A stick saved last time and not plugged in now: its key may stand for
  // another volume today, which must not be written to in its place.
  const std::vector<std::string> mounted{"/", "/media/kim/MY STICK"};
  EXPECT_EQ(resolve_volume_root("B: USB・FD等交換可能ディスク /media/kim/GONE", kListed, mounted), "");
  EXPECT_EQ(resolve_volume_root("C: RAMディスク /tmp", kListed, mounted), "");
}

TEST(DriveRoot, NeitherMountPointNorKeyGivesNothing) {
  const std::vector<std::string> mounted{"/"};
  EXPECT_EQ(resolve_volume_root("", kListed, mounted), "");
  EXPECT_EQ(resolve_volume_root(" A: 固定ディスク", kListed, mounted), "");
  EXPECT_EQ(resolve_volume_root("Z: 固定ディスク /media/none", kListed, mounted), "");
  EXPECT_EQ(resolve_volume_root("/media/kim/MY STICK", kListed, mounted), "");
  EXPECT_EQ(resolve_volume_root("ＵＳＢ", kListed, mounted), "");
}

TEST(DriveRoot, TheRunningSystemsRootIsMounted) {
  EXPECT_EQ(resolve_drive_root("Q", {{"Q: x /nowhere", "/nowhere/"}}), "/nowhere/");
  if (!test::root_is_mounted()) GTEST_SKIP() << test::kRootNotMounted;
  EXPECT_EQ(resolve_drive_root("Q: 固定ディスク /", {}), "/");
}

}  // namespace
}  // namespace tav::posix
