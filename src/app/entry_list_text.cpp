#include "app/entry_list_text.h"

namespace tav {

namespace {

constexpr std::string_view kLineBreak = "\r";
constexpr std::string_view kMoreBefore = "ほか ";
constexpr std::string_view kMoreAfter = " 件";

}  // namespace

std::string text_with_entries(std::string_view heading, const std::vector<std::string>& lines) {
  std::string text(heading);
  text += kLineBreak;
  for (std::size_t i = 0; i < lines.size() && i < kMaxListedEntries; ++i) {
    text += kLineBreak;
    text += lines[i];
  }
  if (lines.size() > kMaxListedEntries) {
    text += kLineBreak;
    text += kMoreBefore;
    text += std::to_string(lines.size() - kMaxListedEntries);
    text += kMoreAfter;
  }
  return text;
}

}  // namespace tav
