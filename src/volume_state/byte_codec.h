// The bytes of the state files the program keeps on a volume: numbers as
// variable-length integers (7 bits a byte, low first), signed ones zigzagged,
// texts with their length in front, and the CRC-32 that closes a file. The
// same bytes on every system.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tav::state {

void put_number(std::string& out, std::uint64_t value);
void put_signed(std::string& out, std::int64_t value);
void put_text(std::string& out, std::string_view text);
void put_word(std::string& out, std::uint32_t value);  // 4 bytes, low first

// Reads from the front of the bytes, which it advances; none when they end
// first or a number runs over 64 bits.
class ByteReader {
 public:
  explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}
  std::optional<std::uint64_t> number();
  std::optional<std::int64_t> signed_number();
  std::optional<std::string_view> text();
  std::optional<std::string_view> take(std::size_t count);
  bool at_end() const { return bytes_.empty(); }

 private:
  std::string_view bytes_;
};

// CRC-32 (the polynomial of zip and PNG).
std::uint32_t crc32(std::string_view bytes);

// A 64-bit hash of a text (FNV-1a), as 16 lower-case hex digits.
std::string hash_text(std::string_view text);

}  // namespace tav::state
