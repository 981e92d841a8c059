// The system's keyed hash, which makes this computer's key for the program.
#include "platform/win32/hmac_win32.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/hex.h"

namespace tav {
namespace {

using test::hex_of;

TEST(MachineKey, TheSystemsHmacSha256GivesTheKnownCode) {
  // RFC 4231, test case 2.
  const std::string key = "Jefe";
  const std::string message = "what do ya want for nothing?";
  const std::vector<std::uint8_t> code =
      win32::hmac_sha256(std::vector<std::uint8_t>(key.begin(), key.end()),
                         std::vector<std::uint8_t>(message.begin(), message.end()));
  EXPECT_EQ(hex_of(code), "5bdcc146bf60754e6a042426089575c75a003f089d2739839dec58b964ec3843");
}

}  // namespace
}  // namespace tav
