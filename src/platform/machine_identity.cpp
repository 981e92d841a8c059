// What both systems share of this computer's ID for this program: its form,
// and the ID made from the computer's name.
#include "platform/machine_identity.h"

namespace tav {

std::string app_machine_id_text(std::array<std::uint8_t, 16> bytes) {
  bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0F) | 0x40);
  bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80);
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  text.reserve(2 * bytes.size());
  for (const std::uint8_t byte : bytes) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0x0F];
  }
  return text;
}

namespace {

// A 128-bit number in two 64-bit halves: the 32-bit Windows build has no
// 128-bit integer type.
struct Fnv128 {
  std::uint64_t high = 0x6C62272E07BB0142u;  // the offset basis
  std::uint64_t low = 0x62B821756295C58Du;

  void add(std::uint8_t byte) {
    low ^= byte;
    // Times the FNV prime 2^88 + 0x13B, modulo 2^128: the low half's product
    // with 0x13B carries into the high half, and the low half shifted up 88
    // bits lands 24 bits up in the high half.
    constexpr std::uint64_t kPrimeLow = 0x13B;
    const std::uint64_t carry =
        ((low >> 32) * kPrimeLow + (((low & 0xFFFFFFFFu) * kPrimeLow) >> 32)) >> 32;
    high = high * kPrimeLow + carry + (low << 24);
    low *= kPrimeLow;
  }
};

}  // namespace

std::string host_app_machine_id(std::string_view host_name) {
  Fnv128 hash;
  for (const std::uint8_t byte : kApplicationId) hash.add(byte);
  for (const char c : host_name) hash.add(static_cast<std::uint8_t>(c));
  std::array<std::uint8_t, 16> bytes{};
  for (std::size_t i = 0; i < 8; ++i) {
    bytes[i] = static_cast<std::uint8_t>(hash.high >> (56 - 8 * i));
    bytes[8 + i] = static_cast<std::uint8_t>(hash.low >> (56 - 8 * i));
  }
  return app_machine_id_text(bytes);
}

}  // namespace tav
