// What a stick may hold beside files and folders, reached beneath a root:
// links to files, FIFOs, devices and mounts of other volumes; the same
// answers where the kernel offers no openat2; and files whose size the
// system does not tell.
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <iterator>
#include <optional>

#include "platform/beneath.h"
#include "support/other_volume.h"
#include "support/temp_tree.h"

namespace tav {
namespace {

using sys::ReadBeneath;
using sys::Reached;

struct Case {
  std::string_view rel;
  Reached reached;  // and read_beneath answers alike (a file fits the limit)
  bool on_mount = false;  // only where the test may mount
};

constexpr Case kCases[] = {
    {"a/f", Reached::File},
    {"a/missing", Reached::Missing},
    {"a/folder_link", Reached::Refused},
    {"a/folder_link/f", Reached::Refused},
    {"a/file_link", Reached::Refused},
    {"a/zero", Reached::Refused},
    {"a/fifo", Reached::Refused},
    {"a/fifo/x", Reached::Refused},
    {"a/mount", Reached::Refused, true},
    {"a/mount/f", Reached::Refused, true},
};

ReadBeneath read_of(Reached reached) {
  if (reached == Reached::File) return ReadBeneath::Read;
  return reached == Reached::Missing ? ReadBeneath::Missing : ReadBeneath::Refused;
}

// A tree with one of each beside a folder and a file; a FIFO read by
// mistake would block the test.
class Untrusted : public ::testing::Test {
 protected:
  void SetUp() override {
    tree_.folder("a").file("a/f", "12345");
    outside_.file("f", "outside");
    ASSERT_EQ(::symlink(outside_.root().c_str(), tree_.path("a/folder_link").c_str()), 0);
    ASSERT_EQ(::symlink(outside_.path("f").c_str(), tree_.path("a/file_link").c_str()), 0);
    ASSERT_EQ(::symlink("/dev/zero", tree_.path("a/zero").c_str()), 0);
    ASSERT_EQ(::mkfifo(tree_.path("a/fifo").c_str(), 0600), 0);
    if (test::OtherVolume::possible()) {
      tree_.folder("a/mount");
      mount_.emplace(tree_.path("a/mount"));
      ASSERT_TRUE(mount_->mounted());
      tree_.file("a/mount/f", "12345");
    }
  }

  // Each case that differs from what it should answer.
  std::vector<std::string> wrong_answers() const {
    std::vector<std::string> wrong;
    const std::string root = tree_.root_with_separator();
    for (const Case& c : kCases) {
      std::string content;
      if ((!c.on_mount || mount_) &&
          (sys::reach_beneath(root, c.rel) != c.reached ||
           sys::read_beneath(root, c.rel, 5, content) != read_of(c.reached))) {
        wrong.emplace_back(c.rel);
      }
    }
    return wrong;
  }

  test::TempTree tree_, outside_;
  std::optional<test::OtherVolume> mount_;  // unmounted before the tree goes
};

TEST_F(Untrusted, RefusesLinksFifosDevicesAndMounts) {
  EXPECT_EQ(wrong_answers(), std::vector<std::string>{});
  if (!mount_) GTEST_SKIP() << "this run may not mount (not root): mounts not tried";
}

// Makes openat2 answer ENOSYS in this process from now on, as a kernel
// without it does.
bool forbid_openat2() {
  sock_filter program[] = {
      BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
      BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, SYS_openat2, 0, 1),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | ENOSYS),
      BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
  };
  const sock_fprog filter{static_cast<unsigned short>(std::size(program)), program};
  return ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
         ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &filter) == 0;
}

TEST_F(Untrusted, AnswersAlikeFolderByFolderWithoutOpenat2) {
  constexpr int kCannotForbid = 77;
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (!forbid_openat2()) ::_exit(kCannotForbid);
    const std::vector<std::string> wrong = wrong_answers();
    for (const std::string& rel : wrong) std::fprintf(stderr, "without openat2: %s\n", rel.c_str());
    ::_exit(wrong.empty() ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == kCannotForbid) {
    GTEST_SKIP() << "this system lets no process forbid itself a system call";
  }
  EXPECT_EQ(WEXITSTATUS(status), 0) << "cases answered otherwise: see the lines above";
}

TEST(ReachBeneathPosix, RefusesDevicesAndReadsFilesOfUntoldSize) {
  for (std::string_view device : {"zero", "null"}) {
    std::string content;
    EXPECT_EQ(sys::reach_beneath("/dev/", device), Reached::Refused) << device;
    EXPECT_EQ(sys::read_beneath("/dev/", device, 5, content), ReadBeneath::Refused) << device;
  }
  // The kernel's files tell a size of 0 and hold more.
  std::string content;
  EXPECT_EQ(sys::read_beneath("/proc/self/", "status", 16, content), ReadBeneath::TooLarge);
  EXPECT_EQ(sys::read_beneath("/proc/self/", "status", 1 << 20, content), ReadBeneath::Read);
  EXPECT_NE(content.find("Pid:"), std::string::npos);
}

}  // namespace
}  // namespace tav
