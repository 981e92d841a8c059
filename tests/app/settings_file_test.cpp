#include "app/settings_file.h"

#include <gtest/gtest.h>

#include "support/current_folder.h"
#include "support/expect_error.h"

namespace tav {
namespace {

using test::TempTree;

// Runs each test inside a fresh current folder, where the settings file lives.
class SettingsFile : public testing::Test {
 protected:
  test::InTemporaryFolder here_;
  TempTree& tree_ = here_.tree;
};

TEST(SettingsBytes, AreTwoQuotedFieldsInCp932) {
  EXPECT_EQ(encode_settings({}), std::string("\"\",\"\"\r\n"));
  EXPECT_EQ(encode_settings({}).size(), 7u);
  EXPECT_EQ(encode_settings({"C:\\Work", "E: USB・FD等交換可能ディスク"}),
            "\"C:\\Work\",\"E: USB\x81\x45" "FD\x93\x99\x8C\xF0\x8A\xB7\x89\xC2\x94\x5C"
            "\x83\x66\x83\x42\x83\x58\x83\x4E\"\r\n");
  // A character without a code page 932 form is written as "?".
  EXPECT_EQ(encode_settings({"C:\\😀", ""}), "\"C:\\?\",\"\"\r\n");
}

TEST(SettingsBytes, RoundTrip) {
  const Settings cases[] = {
      {"C:\\Work", "E: 固定ディスク"},
      {"C:\\a,b\\c:d", "E:,x"},
      {"C:\\作業\\ソフト表", ""},
      {"", ""},
      {"", "F"},
  };
  for (const auto& settings : cases) {
    EXPECT_EQ(decode_settings(encode_settings(settings)), settings) << settings.folder_path;
  }
}

TEST(SettingsBytes, ReadsHandEditedLines) {
  EXPECT_EQ(decode_settings("  \"C:\\x\" , \"E: y\"\r\n"), (Settings{"C:\\x", "E: y"}));
  EXPECT_EQ(decode_settings("C:\\x,E\n"), (Settings{"C", "\\x"}));
  EXPECT_EQ(decode_settings("\"only\"\r\n"), (Settings{"only", ""}));
  EXPECT_EQ(decode_settings(""), (Settings{}));
  EXPECT_EQ(test::error_number_of([] { decode_settings("\"a\"x,\"b\"\r\n"); }), 5);
}

TEST_F(SettingsFile, MissingFileGivesEmptyFieldsAndCreatesNothing) {
  EXPECT_EQ(read_settings(), Settings{});
  EXPECT_FALSE(tree_.exists("Tavrelon.GYD"));
}

TEST_F(SettingsFile, WrittenInTheCurrentFolderAndReadBack) {
  const Settings settings{"C:\\作業,1", "Q: USB・FD等交換可能ディスク"};
  write_settings(settings);
  EXPECT_EQ(tree_.read("Tavrelon.GYD"), encode_settings(settings));
  EXPECT_EQ(read_settings(), settings);
  write_settings({});
  EXPECT_EQ(tree_.read("Tavrelon.GYD"), std::string("\"\",\"\"\r\n"));
}

TEST_F(SettingsFile, AFolderOfThatNameCountsAsNoFileAndCannotBeWritten) {
  tree_.folder("Tavrelon.GYD");
  EXPECT_EQ(read_settings(), Settings{});
  EXPECT_NE(test::error_number_of([] { write_settings({"a", "b"}); }), 0);
  EXPECT_TRUE(std::filesystem::is_directory(test::native(tree_.path("Tavrelon.GYD"))));
}

}  // namespace
}  // namespace tav
