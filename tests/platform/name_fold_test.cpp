// Names compared without regard to case: the letters that have a simple
// upper case, the ones that look like they do but have none, and bytes that
// are no UTF-8.
#include "platform/name_fold.h"

#include <gtest/gtest.h>

namespace tav {
namespace {

struct Case {
  const char* name;
  const char* folded;
  const char* swapped;
};

TEST(NameFold, FoldsAndSwapsEachAlphabetsLetters) {
  const Case cases[] = {
      {"Readme.TXT", "README.TXT", "rEADME.txt"},
      // Latin-1: × and ÷ sit among the letters but are none; ß has no
      // simple upper case; ÿ's is in Latin Extended-A.
      {"éÉ×÷ßÿ", "ÉÉ×÷ßŸ", "Éé×÷ßŸ"},
      // Latin Extended-A pairs upper/lower even/odd, but one code point
      // over between Ĺ and ň and between Ź and ž; dotless ı stays.
      {"āĀĺĹňŇžŽı", "ĀĀĹĹŇŇŽŽı", "ĀāĹĺŇňŽžı"},
      {"ŋŊŷŶ", "ŊŊŶŶ", "ŊŋŶŷ"},
      // Greek: both sigmas fold to Σ, which swaps to the middle one.
      {"αΩσςΣ", "ΑΩΣΣΣ", "ΑωΣΣσ"},
      // Cyrillic, the letters with marks (ё, Ё) included.
      {"жЖёЁяЯ", "ЖЖЁЁЯЯ", "ЖжЁёЯя"},
      {"ａＺ", "ＡＺ", "Ａｚ"},
      // No case: kana, kanji, digits, signs.
      {"ソ表 1_@[`{", "ソ表 1_@[`{", "ソ表 1_@[`{"},
      // A byte that starts no valid sequence stays as it is (read as a
      // code point, \xFF would be ÿ and a cut-off \xC3 Ã); the letters
      // around it change as ever.
      {"a\x80z\xFF\xC3", "A\x80Z\xFF\xC3", "A\x80Z\xFF\xC3"},
      {"", "", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(fold_case(c.name), c.folded) << c.name;
    EXPECT_EQ(swap_case(c.name), c.swapped) << c.name;
  }
}

}  // namespace
}  // namespace tav
