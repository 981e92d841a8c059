// The keyed hash the machine's key for this program is made with, through
// the system's own cryptography.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace tav {

namespace win32 {

// The HMAC-SHA256 of message under key (32 bytes), through the system's
// cryptography (CNG); empty when the system refuses it.
std::vector<std::uint8_t> hmac_sha256(std::span<const std::uint8_t> key,
                                      std::span<const std::uint8_t> message);

}  // namespace win32

}  // namespace tav
