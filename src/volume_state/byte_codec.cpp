#include "volume_state/byte_codec.h"

#include <array>

namespace tav::state {

void put_number(std::string& out, std::uint64_t value) {
  while (value >= 0x80) {
    out.push_back(static_cast<char>((value & 0x7F) | 0x80));
    value >>= 7;
  }
  out.push_back(static_cast<char>(value));
}

void put_signed(std::string& out, std::int64_t value) {
  const auto bits = static_cast<std::uint64_t>(value);
  put_number(out, (bits << 1) ^ (value < 0 ? ~std::uint64_t{0} : 0));
}

void put_text(std::string& out, std::string_view text) {
  put_number(out, text.size());
  out.append(text);
}

void put_word(std::string& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::optional<std::uint64_t> ByteReader::number() {
  // Most numbers of a record take one byte.
  if (!bytes_.empty() && static_cast<unsigned char>(bytes_.front()) < 0x80) {
    const auto byte = static_cast<unsigned char>(bytes_.front());
    bytes_.remove_prefix(1);
    return byte;
  }
  std::uint64_t value = 0;
  for (int shift = 0; shift < 64; shift += 7) {
    if (bytes_.empty()) return std::nullopt;
    const auto byte = static_cast<unsigned char>(bytes_.front());
    bytes_.remove_prefix(1);
    value |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
    if ((byte & 0x80) == 0) return value;
  }
  return std::nullopt;
}

std::optional<std::int64_t> ByteReader::signed_number() {
  const auto bits = number();
  if (!bits) return std::nullopt;
  return static_cast<std::int64_t>((*bits >> 1) ^ (~(*bits & 1) + 1));
}

std::optional<std::string_view> ByteReader::take(std::size_t count) {
  if (count > bytes_.size()) return std::nullopt;
  const std::string_view taken = bytes_.substr(0, count);
  bytes_.remove_prefix(count);
  return taken;
}

std::optional<std::string_view> ByteReader::text() {
  const auto size = number();
  if (!size) return std::nullopt;
  return take(static_cast<std::size_t>(*size));
}

namespace {

// Eight tables: table k gives a byte's remainder k bytes further on, so the
// loop takes eight bytes a step (the record of a large tree is read at
// every run).
constexpr std::array<std::array<std::uint32_t, 256>, 8> crc_tables() {
  std::array<std::array<std::uint32_t, 256>, 8> tables{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    tables[0][n] = c;
  }
  for (std::size_t k = 1; k < 8; ++k) {
    for (std::size_t n = 0; n < 256; ++n) {
      const std::uint32_t before = tables[k - 1][n];
      tables[k][n] = tables[0][before & 0xFF] ^ (before >> 8);
    }
  }
  return tables;
}

constexpr auto kCrcTables = crc_tables();

std::uint32_t byte_at(std::string_view bytes, std::size_t i) {
  return static_cast<unsigned char>(bytes[i]);
}

}  // namespace

std::uint32_t crc32(std::string_view bytes) {
  const auto& t = kCrcTables;
  std::uint32_t c = 0xFFFFFFFFu;
  std::size_t i = 0;
  for (; i + 8 <= bytes.size(); i += 8) {
    const std::uint32_t low = c ^ (byte_at(bytes, i) | byte_at(bytes, i + 1) << 8 |
                                   byte_at(bytes, i + 2) << 16 | byte_at(bytes, i + 3) << 24);
    c = t[7][low & 0xFF] ^ t[6][(low >> 8) & 0xFF] ^ t[5][(low >> 16) & 0xFF] ^ t[4][low >> 24] ^
        t[3][byte_at(bytes, i + 4)] ^ t[2][byte_at(bytes, i + 5)] ^ t[1][byte_at(bytes, i + 6)] ^
        t[0][byte_at(bytes, i + 7)];
  }
  for (; i < bytes.size(); ++i) c = t[0][(c ^ byte_at(bytes, i)) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

std::string hash_text(std::string_view text) {
  std::uint64_t hash = 0xCBF29CE484222325u;
  for (const char byte : text) {
    hash ^= static_cast<unsigned char>(byte);
    hash *= 0x100000001B3u;
  }
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex(16, '0');
  for (int i = 15; i >= 0; --i, hash >>= 4) hex[static_cast<std::size_t>(i)] = kDigits[hash & 0xF];
  return hex;
}

}  // namespace tav::state
