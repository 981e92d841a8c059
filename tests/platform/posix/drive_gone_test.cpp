// A drive that goes away during a run raises error 63, whatever errno the
// system answers; a volume still there that fails keeps its own number.
#include <fcntl.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <thread>
#include <string_view>
#include <utility>
#include <vector>

#include "errors/runtime_error.h"
#include "files/copy_batch.h"
#include "files/operations.h"
#include "platform/posix/errno_codes.h"
#include "support/expect_error.h"
#include "support/temp_tree.h"

namespace tav {
namespace {

using test::error_number_of;
using test::TempTree;

int number_of_errno(int error, const std::string& path) {
  return error_number_of_system_code(sys::code_of_errno(error, path));
}

TEST(DriveGone, ErrnoValuesTranslateToTheirNumbers) {
  TempTree tree;
  tree.file("a.txt");
  const std::pair<int, int> rows[] = {
      {ENODEV, 63}, {ENXIO, 63},   {ENOMEDIUM, 63}, {ENOTCONN, 63}, {ECONNABORTED, 63},
      {ENOENT, 63}, {ENOTDIR, 63}, {EROFS, 73},     {EACCES, 75},   {EBUSY, 75},
      {ENOSPC, 67}, {EDQUOT, 67},  {ENOMEM, 7},     {EIO, 27},      {EPROTO, 27},
  };
  for (const auto& [error, number] : rows) {
    EXPECT_EQ(number_of_errno(error, tree.path("a.txt")), number) << error;
  }
}

// Starts a program, its output dropped; a child that cannot start it ends
// with 127.
pid_t start(std::vector<const char*> argv) {
  argv.push_back(nullptr);
  const pid_t child = ::fork();
  if (child == 0) {
    const int null = ::open("/dev/null", O_WRONLY);
    ::dup2(null, STDOUT_FILENO);
    ::dup2(null, STDERR_FILENO);
    ::execvp(argv[0], const_cast<char* const*>(argv.data()));
    ::_exit(127);
  }
  return child;
}

// Runs a program to its end: its exit status.
int run(const std::vector<const char*>& argv) {
  const pid_t child = start(argv);
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A FAT32 image served through FUSE by a driver process of the test's own,
// mounted at "stick" in the tree: killing the driver pulls the stick.
class ServedStick {
 public:
  explicit ServedStick(TempTree& tree) : root_(tree.path("stick")) {
    if (::geteuid() != 0) {
      why_not_ = "mounting through FUSE needs root";
      return;
    }
    const std::string image = tree.folder("stick").file("stick.img").path("stick.img");
    std::filesystem::resize_file(image, 64 << 20);
    if (run({"mkfs.vfat", "-F", "32", image.c_str()}) != 0) {
      why_not_ = "mkfs.vfat (dosfstools) could not make a FAT32 image";
      return;
    }
    driver_ = start({"fusefat", "-f", "-o", "rw+", image.c_str(), root_.c_str()});
    const auto below = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!mounted(tree.root()) && std::chrono::steady_clock::now() < below) {
      if (driver_ < 0 || ::waitpid(driver_, nullptr, WNOHANG) == driver_) {
        driver_ = -1;  // it could not start, or gave up
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (!mounted(tree.root())) why_not_ = "fusefat is missing or could not mount a FAT32 image";
  }

  ~ServedStick() {
    pull();
    ::umount2(root_.c_str(), MNT_DETACH);
  }
  ServedStick(const ServedStick&) = delete;
  ServedStick& operator=(const ServedStick&) = delete;

  // Empty when the stick is mounted; else why it is not.
  const std::string& why_not() const { return why_not_; }
  const std::string& root() const { return root_; }
  std::string path(std::string_view rel) const { return root_ + "/" + std::string(rel); }

  // Kills the driver and waits until it has gone.
  void pull() {
    if (driver_ <= 0) return;
    ::kill(driver_, SIGKILL);
    ::waitpid(driver_, nullptr, 0);
    driver_ = -1;
  }

 private:
  bool mounted(const std::string& parent) const {
    struct stat at {}, above {};
    return ::stat(root_.c_str(), &at) == 0 && ::stat(parent.c_str(), &above) == 0 &&
           at.st_dev != above.st_dev;
  }

  std::string root_;
  std::string why_not_;
  pid_t driver_ = -1;
};

TEST(DriveGone, EveryOperationOnAStickPulledMidRunRaises63) {
  TempTree tree;
  const std::string big(4 << 20, 'x');  // several chunks of a copy
  tree.file("big.bin", big);
  ServedStick stick(tree);
  if (!stick.why_not().empty()) GTEST_SKIP() << stick.why_not();

  make_folder(stick.path("p"));
  write_small_file(stick.path("p/small.txt"), "small");
  copy_file(tree.path("big.bin"), stick.path("p/big.bin"));
  EXPECT_EQ(number_of_errno(EIO, stick.path("p/small.txt")), 27);  // still there
  const CopyBatch::Limits roomy{64, std::uint64_t{1} << 30, std::chrono::hours(1)};
  CopyBatch onto(roomy);  // a copy written, waiting for its batch's flush
  ASSERT_EQ(onto.add(tree.path("big.bin"), stick.path("p/new.bin"), Replaces::anything()),
            CopyBatch::Added::Written);

  // Pulled in the middle of a copy from the stick.
  CopyBatch from(roomy);
  EXPECT_EQ(error_number_of([&] {
              from.add(stick.path("p/big.bin"), tree.path("back.bin"), Replaces::anything(),
                       [&](std::uint64_t) {
                         stick.pull();
                         return true;
                       });
            }),
            63);
  EXPECT_EQ(error_number_of([&] { onto.place(); }), 63);
  // A source on the pulled stick is not a source deleted since the scan.
  EXPECT_EQ(error_number_of([&] {
              CopyBatch(roomy).add(stick.path("p/small.txt"), tree.path("s.txt"), Replaces::anything());
            }),
            63);
  EXPECT_EQ(error_number_of([&] { read_small_file(stick.path("p/small.txt")); }), 63);
  EXPECT_EQ(error_number_of([&] { write_small_file(stick.path("p/other.txt"), "o"); }), 63);
  EXPECT_EQ(error_number_of([&] { make_folder(stick.path("q")); }), 63);
  EXPECT_EQ(error_number_of([&] { delete_file(stick.path("p/small.txt")); }), 63);
  EXPECT_EQ(error_number_of([&] { move_aside(stick.path("p/big.bin"), stick.path("p/b")); }), 63);
  EXPECT_EQ(error_number_of([&] { flush_changes({stick.path("p")}); }), 63);
  // EIO from a volume no longer there, even asked at its root.
  EXPECT_EQ(number_of_errno(EIO, stick.path("p/small.txt")), 63);
  EXPECT_EQ(number_of_errno(EIO, stick.root()), 63);
}

}  // namespace
}  // namespace tav
