#include <unistd.h>

#include "support/test_drive.h"

namespace tav::test {

TestDrive::TestDrive(const std::string& folder) : letter_('T') {
  ::symlink(folder.c_str(), "T:");
}

TestDrive::~TestDrive() { ::unlink("T:"); }

}  // namespace tav::test
