#include "volume_state/state_path.h"

#include <algorithm>

#include "files/operations.h"
#include "platform/text.h"
#include "volume_state/state_layout.h"

namespace tav::state {

namespace {

// Where "\\" separates names, it and ":" (a drive, or a stream of a file)
// never stand in one.
constexpr bool kBackslashSeparates = kPathSeparator == '\\';

bool is_name(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  return std::ranges::none_of(name, [](char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F || (kBackslashSeparates && (c == '\\' || c == ':'));
  });
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }
char upper_ascii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Whether a name reaches the state folder on some volume: its own name in
// any case, with the dots and spaces Windows drops at a name's end, or a
// short name Windows may give it ("TAVREL~1", or two letters, four hex
// digits and "~N" where many names begin alike).
bool names_the_state_folder(std::string_view name) {
  const auto kept = name.find_last_not_of(". ");
  if (kept != std::string_view::npos && is_state_folder_name(name.substr(0, kept + 1))) return true;
  const auto tilde = name.find('~');
  if (tilde != 6 || name.size() == 7 ||
      !std::ranges::all_of(name.substr(7), is_digit)) {
    return false;
  }
  std::string head(name.substr(0, 6));
  std::ranges::transform(head, head.begin(), upper_ascii);
  const bool hex = std::ranges::all_of(head.substr(2), [](char c) {
    return is_digit(c) || (c >= 'A' && c <= 'F');
  });
  return head == "TAVREL" || (head.starts_with("TA") && hex);
}

}  // namespace

bool is_state_path(std::string_view text) {
  if (text.empty() || (text.size() > kMaxPathBytes && cp932_length(text) > kMaxPathBytes)) {
    return false;
  }
  // No run acts on the state folder at a root.
  if (names_the_state_folder(text.substr(0, text.find('/')))) return false;
  for (std::size_t start = 0;;) {
    const auto cut = text.find('/', start);
    if (!is_name(text.substr(start, cut == std::string_view::npos ? cut : cut - start))) {
      return false;
    }
    if (cut == std::string_view::npos) return true;
    start = cut + 1;
  }
}

std::optional<StatePath> StatePath::parse(std::string_view text) {
  if (!is_state_path(text)) return std::nullopt;
  return StatePath(std::string(text));
}

std::optional<StatePath> StatePath::of_native(std::string_view native) {
  std::string text(native);
  if (kPathSeparator != '/') {
    if (text.find('/') != std::string::npos) return std::nullopt;
    std::ranges::replace(text, kPathSeparator, '/');
  }
  return parse(text);
}

std::string StatePath::native() const {
  std::string path = text_;
  std::ranges::replace(path, '/', kPathSeparator);
  return path;
}

std::optional<StatePath> parent_of(const StatePath& path) {
  const auto cut = path.text().rfind('/');
  if (cut == std::string::npos) return std::nullopt;
  return StatePath::parse(std::string_view(path.text()).substr(0, cut));
}

std::string_view last_name(const StatePath& path) {
  const std::string_view text = path.text();
  return text.substr(text.rfind('/') + 1);
}

}  // namespace tav::state
