#include "platform/text.h"

#include <gtest/gtest.h>

namespace tav {
namespace {

TEST(Text, CharactersAreCodePoints) {
  EXPECT_EQ(char_count("abc"), 3u);
  EXPECT_EQ(char_count("ソ表\\x"), 4u);
  EXPECT_EQ(char_count("𠮷a"), 2u);
  EXPECT_EQ(drop_chars("E:\\ソフト\\a", 3), "ソフト\\a");
  EXPECT_EQ(drop_chars("ab", 5), "");
  // A stray byte counts as one character and does not swallow its neighbours.
  EXPECT_EQ(char_count("a\xFF" "b"), 3u);
  EXPECT_EQ(char_count("\xE3\x81"), 2u);
}

TEST(Text, TrimRemovesBothBlanksAtBothEnds) {
  EXPECT_EQ(trim_blanks("\u3000 C:\\work \u3000"), "C:\\work");
  EXPECT_EQ(trim_blanks("a b"), "a b");
  EXPECT_EQ(trim_blanks(" \u3000 "), "");
  EXPECT_EQ(trim_blanks("\u3000表\u3000x"), "表\u3000x");
  EXPECT_TRUE(is_blank(U'\u3000'));
  EXPECT_FALSE(is_blank(U'\t'));
}

TEST(Text, Cp932LengthCountsDoubleBytesTwice) {
  EXPECT_EQ(cp932_length("(更新) "), 7u);
  EXPECT_EQ(cp932_length("→"), 2u);
  EXPECT_EQ(cp932_length("ｱｲｳ"), 3u);  // half-width katakana
  EXPECT_EQ(cp932_length("E:\\doc\\a.txt"), 12u);
  EXPECT_EQ(cp932_length(""), 0u);
}

TEST(Text, Cp932ConversionRoundTrips) {
  const std::string text = "C:\\作業\\ソフト表,ｱ: x";
  const std::string bytes = utf8_to_cp932(text);
  EXPECT_EQ(bytes.size(), cp932_length(text));
  // ソ is 0x83 0x5C: its second byte is the code of "\".
  EXPECT_NE(bytes.find("\x83\x5C"), std::string::npos);
  EXPECT_EQ(cp932_to_utf8(bytes), text);
}

TEST(Text, UnrepresentableCharactersBecomeQuestionMarks) {
  EXPECT_EQ(utf8_to_cp932("a😀b"), "a?b");
  EXPECT_EQ(utf8_to_cp932("Ω한"), "\x83\xB6?");
}

}  // namespace
}  // namespace tav
