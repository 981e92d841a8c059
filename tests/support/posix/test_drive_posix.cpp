#include "support/test_drive.h"

namespace tav::test {

TestDrive::TestDrive() : tree_(std::make_unique<TempTree>()) {
  // Not a mount point: the entry names none, so its key picks it from the list.
  drive_ = {"T: 固定ディスク", tree_->root_with_separator()};
}

TestDrive::~TestDrive() = default;

}  // namespace tav::test
