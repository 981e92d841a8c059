#include "app/listed_message.h"

namespace tav {

std::string listed_message(std::string_view lead, const std::vector<std::string>& lines) {
  std::string text(lead);
  text += "\r";
  for (std::size_t i = 0; i < lines.size() && i < kListedLinesShown; ++i) {
    text += "\r";
    text += lines[i];
  }
  if (lines.size() > kListedLinesShown) {
    text += "\rほか " + std::to_string(lines.size() - kListedLinesShown) + " 件";
  }
  return text;
}

}  // namespace tav
