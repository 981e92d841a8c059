// A path relative to a side's root as the state kept on a volume spells it:
// names between "/". What a volume holds is a stranger's input, so a path is
// parsed once, where its bytes come from the volume, into this type, which
// cannot hold an empty name, ".", "..", a leading "/" or drive, a "\", a NUL
// or other control character, more than kMaxPathBytes, or a first name that
// is the state folder's. The native
// spelling is made from it here and nowhere else.
#pragma once

#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace tav::state {

class StatePath {
 public:
  // None for a text that is not such a path.
  static std::optional<StatePath> parse(std::string_view text);
  // A path the program made relative to a root, with the platform's separator.
  static std::optional<StatePath> of_native(std::string_view native);

  const std::string& text() const { return text_; }
  std::string native() const;

  auto operator<=>(const StatePath&) const = default;

 private:
  explicit StatePath(std::string text) : text_(std::move(text)) {}
  std::string text_;
};

// Whether the text is a path a StatePath may hold.
bool is_state_path(std::string_view text);

// The folder that holds the path; none for a name at the root.
std::optional<StatePath> parent_of(const StatePath& path);
// The path's last name.
std::string_view last_name(const StatePath& path);

}  // namespace tav::state
