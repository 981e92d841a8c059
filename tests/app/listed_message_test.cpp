#include "app/listed_message.h"

#include <gtest/gtest.h>

namespace tav {
namespace {

TEST(ListedMessage, TwentyLinesThenHowManyMore) {
  EXPECT_EQ(listed_message("lead", {"a", "b"}), "lead\r\ra\rb");
  std::vector<std::string> lines;
  std::string shown = "lead\r";
  for (int i = 1; i <= 23; ++i) {
    lines.push_back(std::to_string(i));
    if (i <= 20) shown += "\r" + std::to_string(i);
  }
  EXPECT_EQ(listed_message("lead", lines), shown + "\rほか 3 件");
}

}  // namespace
}  // namespace tav
