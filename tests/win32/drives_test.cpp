// Drive list entries by letter.
#include <gtest/gtest.h>

#include "platform/win32/drives_win32.h"

namespace tav {
namespace {

TEST(DriveOfLetter, LetterColonSpaceAndTheTypeText) {
  EXPECT_EQ(win32::drive_of_letter('E', 2).entry, "E: USB・FD等交換可能ディスク");
  EXPECT_EQ(win32::drive_of_letter('E', 2).root, "E:\\");
  EXPECT_EQ(win32::drive_of_letter('A', 0).entry, "A: 不明");
  EXPECT_EQ(win32::drive_of_letter('Z', 6).entry, "Z: RAMディスク");
  EXPECT_EQ(win32::drive_of_letter('D', 7).entry, "D: ");  // a type without a text
}

}  // namespace
}  // namespace tav
