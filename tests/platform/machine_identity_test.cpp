#include "platform/machine_identity.h"

#include <gtest/gtest.h>

#include "support/hex.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <span>
#include <string>
#include <vector>


namespace tav {
namespace {

using test::hex_of;
using test::is_lower_hex;


TEST(MachineKey, TheAppMachineIdIsAStableVersion4IdThatHidesTheMachineId) {
  const std::string id = app_machine_id();
  ASSERT_EQ(id.size(), 32u);
  EXPECT_TRUE(is_lower_hex(id)) << id;
  EXPECT_EQ(id[12], '4') << id;
  EXPECT_NE(std::string("89ab").find(id[16]), std::string::npos) << id;
  EXPECT_EQ(app_machine_id(), id);

  const std::string machine = machine_id();
  EXPECT_EQ(id.find(machine), std::string::npos);
  // The hex digits of Windows' GUID form, as Linux writes its machine id.
  std::string digits;
  for (const char c : machine) {
    if (std::isxdigit(static_cast<unsigned char>(c))) {
      digits += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
  }
  EXPECT_NE(id, digits);
}

// The FNV-1a hash computed apart, with the 128-bit parameters its authors
// publish.
TEST(MachineKey, WithoutAMachineIdTheHostNameIsHashedWithTheApplicationId) {
  EXPECT_EQ(host_app_machine_id("tavrelon-host"), "e68c45dc7fa54c2789ccca82aab3234d");
  EXPECT_NE(host_app_machine_id("tavrelon-host2"), host_app_machine_id("tavrelon-host"));
}

}  // namespace
}  // namespace tav
