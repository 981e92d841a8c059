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

}  // namespace

bool is_state_path(std::string_view text) {
  if (text.empty() || (text.size() > kMaxPathBytes && cp932_length(text) > kMaxPathBytes)) {
    return false;
  }
  // No run acts on the state folder at a root.
  if (is_state_folder_name(text.substr(0, text.find('/')))) return false;
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
