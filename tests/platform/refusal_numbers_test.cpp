// The run-time error a refusal of the system raises, through a real file
// operation: the system's own code (on POSIX the errno value standing for
// it) carried up to the report, the same on both programs.
#include <gtest/gtest.h>

#include <utility>

#include "files/operations.h"
#include "platform/system_faults.h"
#include "support/expect_error.h"
#include "support/temp_tree.h"

namespace tav {
namespace {

int number_raised_by_a_read_refused_with(sys::Code code, const test::TempTree& tree) {
  const sys::FaultPlan plan(sys::Call::Open, 1, code);
  return test::error_number_of([&] { read_small_file(tree.path("a.txt")); });
}

TEST(RefusalNumbers, ADriveGoneRaises63) {
  test::TempTree tree;
  tree.file("a.txt", "a");
  for (const sys::Code code : {sys::kNotReady, sys::kDevNotExist, sys::kNoSuchDevice,
                               sys::kFileInvalid, sys::kMediaChanged, sys::kNoMediaInDrive,
                               sys::kDeviceNotConnected, sys::kDeviceRemoved, sys::kFileNotFound,
                               sys::kPathNotFound}) {
    EXPECT_EQ(number_raised_by_a_read_refused_with(code, tree), 63) << code;
  }
}

// The numbers the users' guide lists.
TEST(RefusalNumbers, AsTheGuideListsThem) {
  test::TempTree tree;
  tree.file("a.txt", "a");
  const std::pair<sys::Code, int> rows[] = {
      {sys::kWriteProtect, 73},     {sys::kAccessDenied, 75}, {sys::kSharingViolation, 75},
      {sys::kDiskFull, 67},         {sys::kIoDevice, 27},     {sys::kGenFailure, 27},
      {sys::kNotEnoughMemory, 7},
  };
  for (const auto& [code, number] : rows) {
    EXPECT_EQ(number_raised_by_a_read_refused_with(code, tree), number) << code;
  }
}

}  // namespace
}  // namespace tav
