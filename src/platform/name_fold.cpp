#include "platform/name_fold.h"

#include "platform/text.h"
#include "platform/unicode_form.h"

namespace tav {

namespace {

// The simple upper case of a lower-case letter; other characters as they are.
char32_t upper_of(char32_t c) {
  if (c >= U'a' && c <= U'z') return c - 0x20;
  if ((c >= 0xE0 && c <= 0xFE && c != 0xF7) || (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) ||
      (c >= 0x430 && c <= 0x44F) || (c >= 0xFF41 && c <= 0xFF5A)) {
    return c - 0x20;
  }
  if (c == 0xFF) return 0x178;
  if (c == 0x3C2) return 0x3A3;                  // final sigma
  if (c >= 0x450 && c <= 0x45F) return c - 0x50;  // Cyrillic with marks
  // Latin Extended-A: pairs of upper (even) and lower (odd), shifted by one
  // code point between 0x139 and 0x148 and between 0x179 and 0x17E.
  if ((c >= 0x100 && c <= 0x137 && c != 0x131) || (c >= 0x14A && c <= 0x177)) {
    return c % 2 == 1 ? c - 1 : c;
  }
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return c % 2 == 0 ? c - 1 : c;
  return c;
}

char32_t lower_of(char32_t c) {
  if (c >= U'A' && c <= U'Z') return c + 0x20;
  if ((c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3AB && c != 0x3A2) ||
      (c >= 0x410 && c <= 0x42F) || (c >= 0xFF21 && c <= 0xFF3A)) {
    return c + 0x20;
  }
  if (c >= 0x400 && c <= 0x40F) return c + 0x50;
  return upper_of(c + 1) == c ? c + 1 : c;  // the pairs of Latin Extended-A
}

void append_utf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

template <typename Map>
std::string map_letters(std::string_view name, Map map) {
  std::string out;
  out.reserve(name.size());
  std::size_t pos = 0;
  while (pos < name.size()) {
    const std::size_t start = pos;
    const char32_t c = next_char(name, pos);
    // A byte that starts no valid sequence stays as it is.
    const bool valid = c < 0x80 || pos - start > 1;
    const char32_t mapped = valid ? map(c) : c;
    if (mapped == c) {
      out.append(name.substr(start, pos - start));  // unchanged, invalid bytes included
    } else {
      append_utf8(out, mapped);
    }
  }
  return out;
}

}  // namespace

std::string fold_case(std::string_view name) { return map_letters(name, upper_of); }

std::string swap_case(std::string_view name) {
  return map_letters(name, [](char32_t c) {
    const char32_t upper = upper_of(c);
    return upper != c ? upper : lower_of(c);
  });
}

bool may_need_composing(std::string_view name) {
  for (const char c : name) {
    if (static_cast<unsigned char>(c) >= 0xCC) return true;
  }
  return false;
}

std::optional<std::string> recomposed(std::string_view name) {
  if (!may_need_composing(name) || !is_valid_utf8(name)) return std::nullopt;
  return sys::composed_form(name);
}

std::string compose(std::string_view name) {
  auto composed = recomposed(name);
  return composed ? std::move(*composed) : std::string(name);
}

std::string fold_name(std::string_view name, bool ignore_case) {
  std::string composed = compose(name);
  return ignore_case ? fold_case(composed) : composed;
}

}  // namespace tav
