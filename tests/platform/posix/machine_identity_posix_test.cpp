// This computer's key for the program on Linux: the derivation the system
// documents for an application's machine ID.
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "platform/machine_identity.h"
#include "support/hex.h"

namespace tav {
namespace {

using test::hex_of;
using test::is_lower_hex;

// The derivation systemd documents, computed apart by Python's hmac.
TEST(MachineKey, OnLinuxItIsTheHmacOfTheMachineIdOverTheApplicationId) {
  std::string machine;
  std::ifstream("/etc/machine-id") >> machine;
  if (machine.size() != 32 || !is_lower_hex(machine)) {
    GTEST_SKIP() << "this system keeps no machine id in /etc/machine-id";
  }
  const std::string command =
      "python3 -c 'import hashlib, hmac, sys\n"
      "c = bytearray(hmac.new(bytes.fromhex(sys.argv[1]), bytes.fromhex(sys.argv[2]),\n"
      "                       hashlib.sha256).digest()[:16])\n"
      "c[6] = c[6] & 0x0F | 0x40\n"
      "c[8] = c[8] & 0x3F | 0x80\n"
      "print(c.hex())' " +
      machine + " " + hex_of(kApplicationId);
  FILE* python = ::popen(command.c_str(), "r");
  ASSERT_NE(python, nullptr);
  char line[64] = {};
  const bool read = std::fgets(line, sizeof line, python) != nullptr;
  const int status = ::pclose(python);
  if (WIFEXITED(status) && WEXITSTATUS(status) == 127) GTEST_SKIP() << "python3 is not installed";
  ASSERT_TRUE(read && WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;
  EXPECT_EQ(app_machine_id() + "\n", line);
}

}  // namespace
}  // namespace tav
