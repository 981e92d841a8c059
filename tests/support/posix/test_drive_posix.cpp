#include "support/test_drive.h"

namespace tav::test {

TestDrive::TestDrive(const std::string& folder)
    : drive_{"T: 固定ディスク " + folder, folder + "/"} {}

TestDrive::~TestDrive() = default;

}  // namespace tav::test
