#include "app/settings_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/current_folder.h"
#include "support/expect_error.h"

namespace tav {
namespace {

// Each test in a fresh folder that is the current folder and the home of the
// settings file.
class SettingsFile : public testing::Test {
 protected:
  test::InTemporaryFolder here;
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
  EXPECT_TRUE(std::filesystem::is_empty(test::native(here.tree.root())));
}

TEST_F(SettingsFile, WrittenInItsFolderAndReadBack) {
  const Settings settings{"C:\\作業,1", "Q: USB・FD等交換可能ディスク"};
  write_settings(settings);
  EXPECT_EQ(here.tree.read(here.settings_file()), encode_settings(settings));
  EXPECT_EQ(read_settings(), settings);
  write_settings({});
  EXPECT_EQ(here.tree.read(here.settings_file()), std::string("\"\",\"\"\r\n"));
}

TEST_F(SettingsFile, AFolderOfThatNameCountsAsNoFileAndCannotBeWritten) {
  here.tree.folder(here.settings_file());
  EXPECT_EQ(read_settings(), Settings{});
  EXPECT_NE(test::error_number_of([] { write_settings({"a", "b"}); }), 0);
  EXPECT_TRUE(std::filesystem::is_directory(test::native(here.tree.path(here.settings_file()))));
}

}  // namespace
}  // namespace tav
