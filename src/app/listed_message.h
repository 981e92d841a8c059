// A message box text that lists entries: the lead, an empty line, then one
// entry a line, the first ones only, and how many more there are.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tav {

inline constexpr std::size_t kListedLinesShown = 20;

// lead, "\r\r", the lines joined by "\r" (at most kListedLinesShown), and
// "ほか N 件" on a line of its own for the N not shown.
std::string listed_message(std::string_view lead, const std::vector<std::string>& lines);

}  // namespace tav
