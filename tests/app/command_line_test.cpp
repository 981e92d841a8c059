#include "app/command_line.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/version.h"
#include "support/current_folder.h"

namespace tav {
namespace {

struct Answer {
  std::optional<int> status;
  std::string out, err;
};

Answer answer(std::vector<std::string> words) {
  std::vector<char*> arguments;
  for (auto& word : words) arguments.push_back(word.data());
  std::ostringstream out, err;
  const auto status = answer_command_line(arguments, out, err);
  return {status, out.str(), err.str()};
}

TEST(CommandLine, AnswersHelpAndVersionBeforeAnyWindow) {
  test::InTemporaryFolder here;
  const Answer help = answer({"tavrelon", "-platform", "xcb", "--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_TRUE(help.out.starts_with("Usage: tavrelon [OPTION]\n"));
  EXPECT_NE(help.out.find(here.settings_file() + ".\n"), std::string::npos) << help.out;
  EXPECT_EQ(answer({"tavrelon", "-h"}).out, help.out);

  const Answer version = answer({"tavrelon", "--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, std::string("tavrelon ") + TAV_VERSION + "\n");
  EXPECT_EQ(version.err, "");
}

TEST(CommandLine, LeavesTheToolkitsOptionsAndRefusesOthers) {
  EXPECT_EQ(answer({"tavrelon"}).status, std::nullopt);
  EXPECT_EQ(answer({"tavrelon", "-platform", "offscreen"}).status, std::nullopt);

  const Answer unknown = answer({"tavrelon", "--verbose"});
  EXPECT_EQ(unknown.status, 2);
  EXPECT_EQ(unknown.out, "");
  EXPECT_EQ(unknown.err,
            "tavrelon: unknown option '--verbose'\nTry 'tavrelon --help' for more information.\n");

  std::string program = "tavrelon", stray = "notes.txt";
  char* left_over[] = {program.data(), stray.data()};
  std::ostringstream err;
  EXPECT_EQ(refuse_left_over_arguments(left_over, err), 2);
  EXPECT_TRUE(err.str().starts_with("tavrelon: unexpected argument 'notes.txt'\n"));
  EXPECT_EQ(refuse_left_over_arguments({left_over, 1}, err), std::nullopt);
}

}  // namespace
}  // namespace tav
