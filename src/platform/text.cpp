#include "platform/text.h"

namespace tav {

char32_t next_char(std::string_view text, std::size_t& pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  std::size_t extra = 0;
  char32_t c = lead;
  if (lead >= 0xC2 && lead <= 0xDF) {
    extra = 1;
    c = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    extra = 2;
    c = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    extra = 3;
    c = lead & 0x07;
  }
  if (extra == 0 || pos + extra >= text.size()) {
    ++pos;
    return lead;
  }
  for (std::size_t i = 1; i <= extra; ++i) {
    const auto b = static_cast<unsigned char>(text[pos + i]);
    if ((b & 0xC0) != 0x80) {
      ++pos;
      return lead;
    }
    c = (c << 6) | (b & 0x3F);
  }
  pos += extra + 1;
  return c;
}

std::size_t char_count(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t pos = 0; pos < text.size(); ++count) next_char(text, pos);
  return count;
}

std::string_view drop_chars(std::string_view text, std::size_t n) {
  std::size_t pos = 0;
  for (; n > 0 && pos < text.size(); --n) next_char(text, pos);
  return text.substr(pos);
}

bool is_blank(char32_t c) { return c == U' ' || c == U'\u3000'; }

std::string_view trim_blanks(std::string_view text) {
  static constexpr std::string_view kIdeographicSpace = "\u3000";
  for (;;) {
    if (text.starts_with(' ')) {
      text.remove_prefix(1);
    } else if (text.starts_with(kIdeographicSpace)) {
      text.remove_prefix(kIdeographicSpace.size());
    } else if (text.ends_with(' ')) {
      text.remove_suffix(1);
    } else if (text.ends_with(kIdeographicSpace)) {
      text.remove_suffix(kIdeographicSpace.size());
    } else {
      return text;
    }
  }
}

bool is_valid_utf8(std::string_view text) {
  // The least character each length may encode; anything less is overlong.
  constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t start = pos;
    const char32_t c = next_char(text, pos);
    const std::size_t length = pos - start;
    if ((length == 1 && c >= 0x80) || c < kLeast[length] || c > 0x10FFFF ||
        (c >= 0xD800 && c <= 0xDFFF)) {
      return false;
    }
  }
  return true;
}

std::size_t utf16_length(std::string_view text) {
  std::size_t units = 0;
  for (std::size_t pos = 0; pos < text.size();) units += next_char(text, pos) >= 0x10000 ? 2 : 1;
  return units;
}

std::size_t cp932_length(std::string_view text) {
  std::size_t bytes = 0;
  for (std::size_t pos = 0; pos < text.size();) {
    const char32_t c = next_char(text, pos);
    const bool single = c < 0x80 || (c >= 0xFF61 && c <= 0xFF9F);
    bytes += single ? 1 : 2;
  }
  return bytes;
}

long numeric_value(std::string_view text) {
  std::size_t pos = 0;
  while (pos < text.size() && text[pos] == ' ') ++pos;
  long value = 0;
  for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
    value = value * 10 + (text[pos] - '0');
  }
  return value;
}

}  // namespace tav
