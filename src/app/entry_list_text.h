// A message box's text that lists entries: a heading, an empty line, and one
// line per entry, at most kMaxListedEntries of them, then how many more.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tav {

inline constexpr std::size_t kMaxListedEntries = 20;

// "<heading>\r\r<line>\r<line>...", and "ほか N 件" after the last line shown.
std::string text_with_entries(std::string_view heading, const std::vector<std::string>& lines);

}  // namespace tav
