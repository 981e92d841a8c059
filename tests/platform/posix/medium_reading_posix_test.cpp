// A copy's place read back from its medium never waits: a pipe put there
// since the copy was placed reads as no bytes.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "files/read_back.h"
#include "support/temp_tree.h"

namespace tav {
namespace {

TEST(MediumReading, APipeWhereACopyStoodReadsAsNoBytes) {
  test::TempTree tree;
  ASSERT_EQ(::mkfifo(tree.path("copy").c_str(), 0600), 0);
  ReadBackCheck check;
  EXPECT_EQ(check.check(tree.path("copy"), content_hash("written")), ReadBack::Differs);
}

}  // namespace
}  // namespace tav
