#include "support/test_drive.h"

namespace tav::test {

struct TestDrive::Hold {};

TestDrive::TestDrive() : tree_(std::make_unique<TempTree>()) {
  drive_ = {"T: 固定ディスク " + tree_->root(), tree_->root_with_separator()};
}

TestDrive::~TestDrive() = default;

}  // namespace tav::test
