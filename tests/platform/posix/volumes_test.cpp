// The drive list of a system without drive letters, from the text of its
// mount table.
#include "platform/posix/volumes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "mounted_root.h"

namespace tav::posix {
namespace {

// A desktop machine's table: the system's own mounts around the volumes a
// user would sync with, one of them with spaces in its mount point.
constexpr std::string_view kDesktopTable =
    "sysfs /sys sysfs rw,nosuid,nodev,noexec,relatime 0 0\n"
    "proc /proc proc rw,nosuid,nodev,noexec,relatime 0 0\n"
    "udev /dev devtmpfs rw,nosuid,relatime,size=8000000k 0 0\n"
    "devpts /dev/pts devpts rw,nosuid,noexec,relatime 0 0\n"
    "tmpfs /run tmpfs rw,nosuid,nodev,noexec,relatime,size=1600000k,mode=755 0 0\n"
    "/dev/nvme0n1p2 / ext4 rw,relatime,errors=remount-ro 0 0\n"
    "tmpfs /dev/shm tmpfs rw,nosuid,nodev 0 0\n"
    "tmpfs /run/lock tmpfs rw,nosuid,nodev,noexec,relatime,size=5120k 0 0\n"
    "cgroup2 /sys/fs/cgroup cgroup2 rw,nosuid,nodev,noexec,relatime 0 0\n"
    "/dev/nvme0n1p1 /boot/efi vfat rw,relatime,fmask=0077 0 0\n"
    "/dev/loop3 /snap/core22/1380 squashfs ro,nodev,relatime 0 0\n"
    "overlay /var/lib/docker/overlay2/abc/merged overlay rw,relatime 0 0\n"
    "tmpfs /tmp tmpfs rw,nosuid,nodev 0 0\n"
    "/dev/sda1 /home ext4 rw,relatime 0 0\n"
    "tmpfs /run/user/1000 tmpfs rw,nosuid,nodev,relatime,size=1600000k,mode=700 0 0\n"
    "gvfsd-fuse /run/user/1000/gvfs fuse.gvfsd-fuse rw,nosuid,nodev,relatime 0 0\n"
    "/dev/sdb1 /media/kim/MY\\040STICK vfat rw,nosuid,nodev,relatime,uid=1000 0 0\n"
    "/dev/sr0 /media/kim/CDROM iso9660 ro,nosuid,nodev,relatime 0 0\n"
    "server:/export /mnt/share nfs4 rw,relatime,vers=4.2 0 0\n"
    "//nas/photos /mnt/photos cifs rw,relatime,vers=3.0 0 0\n"
    "/dev/sdc1 /run/media/kim/Backup ext4 rw,nosuid,nodev,relatime 0 0\n";

bool removable_sdb(const std::string& device) { return device.starts_with("/dev/sdb"); }

std::vector<std::string> entries_of(const std::vector<Drive>& drives) {
  std::vector<std::string> entries;
  for (const auto& drive : drives) entries.push_back(drive.entry);
  return entries;
}

TEST(MountTable, FieldsAreSplitAndTheirEscapesDecoded) {
  const auto entries = parse_mount_table(
      "/dev/sdb1 /media/kim/MY\\040STICK vfat rw 0 0\n"
      "//nas/a\\134b /mnt/tab\\011and\\012line cifs rw 0 0\n"
      "\n"
      "short line\n"
      "/dev/sdd1 /mnt/\\04 ext4 rw 0 0");  // an incomplete escape stays as it is
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0], (MountEntry{"/dev/sdb1", "/media/kim/MY STICK", "vfat"}));
  EXPECT_EQ(entries[1], (MountEntry{"//nas/a\\b", "/mnt/tab\tand\nline", "cifs"}));
  EXPECT_EQ(entries[2].mount_point, "/mnt/\\04");
}

TEST(MountTable, TheUsersVolumesAreListedSortedAndKeyedAndTheSystemsSkipped) {
  const auto drives =
      volume_drives(user_volumes(parse_mount_table(kDesktopTable)), removable_sdb);
  EXPECT_EQ(entries_of(drives), (std::vector<std::string>{
                                    "A: 固定ディスク /",
                                    "B: 固定ディスク /home",
                                    "C: CD-ROMドライブ /media/kim/CDROM",
                                    "D: USB・FD等交換可能ディスク /media/kim/MY STICK",
                                    "E: リモートあるいはネットワークドライブ /mnt/photos",
                                    "F: リモートあるいはネットワークドライブ /mnt/share",
                                    "G: 固定ディスク /run/media/kim/Backup",
                                    "H: RAMディスク /tmp",
                                }));
  EXPECT_EQ(drives[0].root, "/");
  EXPECT_EQ(drives[3].root, "/media/kim/MY STICK/");
}

TEST(MountTable, AMountOnTheSamePointHidesTheEarlierOne) {
  const auto volumes = user_volumes(parse_mount_table(
      "rootfs / rootfs rw 0 0\n"
      "/dev/sda1 / ext4 rw 0 0\n"
      "/dev/sdb1 /mnt/x vfat rw 0 0\n"
      "/dev/sdc1 /mnt/x ext4 rw 0 0\n"));
  ASSERT_EQ(volumes.size(), 2u);
  EXPECT_EQ(volumes[0], (MountEntry{"/dev/sda1", "/", "ext4"}));
  EXPECT_EQ(volumes[1], (MountEntry{"/dev/sdc1", "/mnt/x", "ext4"}));
}

TEST(MountTable, TheRootIsListedWhateverItsFileSystem) {
  // A container's root is an overlay, which is skipped anywhere else.
  const auto volumes = user_volumes(parse_mount_table(
      "overlay / overlay rw 0 0\noverlay /mnt/o overlay rw 0 0\nproc /proc proc rw 0 0\n"));
  ASSERT_EQ(volumes.size(), 1u);
  EXPECT_EQ(volume_type(volumes[0], false), 3);
}

TEST(MountTable, KeysRunOutAfterSixtyTwoVolumes) {
  std::string table = "/dev/sda1 / ext4 rw 0 0\n";
  for (int i = 0; i < 70; ++i) table += "/dev/x /mnt/v" + std::to_string(100 + i) + " ext4 rw 0 0\n";
  const auto drives =
      volume_drives(user_volumes(parse_mount_table(table)), [](const std::string&) { return false; });
  ASSERT_EQ(drives.size(), 62u);
  std::set<char> keys;
  for (const auto& drive : drives) keys.insert(drive.entry.front());
  EXPECT_EQ(keys.size(), 62u);
  EXPECT_EQ(drives[26].entry.front(), 'a');
  EXPECT_EQ(drives[61].entry.front(), '9');
}

TEST(MountedVolumes, TheRunningSystemListsItsRoot) {
  const auto drives = list_mounted_volumes();
  for (const auto& drive : drives) {
    EXPECT_EQ(drive.entry.substr(1, 2), ": ") << drive.entry;
    EXPECT_TRUE(drive.root.ends_with("/")) << drive.root;
  }
  if (!test::root_is_mounted()) GTEST_SKIP() << test::kRootNotMounted;
  EXPECT_TRUE(std::ranges::any_of(drives, [](const Drive& d) { return d.root == "/"; }));
}

}  // namespace
}  // namespace tav::posix
