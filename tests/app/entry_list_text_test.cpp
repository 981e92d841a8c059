#include "app/entry_list_text.h"

#include <gtest/gtest.h>

namespace tav {
namespace {

TEST(EntryListText, TwentyLinesThenHowManyMore) {
  EXPECT_EQ(text_with_entries("heading", {"a", "b"}), "heading\r\ra\rb");
  std::vector<std::string> lines;
  std::string shown = "heading\r";
  for (int i = 1; i <= 23; ++i) {
    lines.push_back(std::to_string(i));
    if (i <= 20) shown += "\r" + std::to_string(i);
  }
  EXPECT_EQ(text_with_entries("heading", lines), shown + "\rほか 3 件");
}

}  // namespace
}  // namespace tav
