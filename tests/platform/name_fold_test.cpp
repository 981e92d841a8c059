// Names compared as a pair of volumes compares them: the letters that have
// a simple upper case, the ones that look like they do but have none, bytes
// that are no UTF-8, and the composed Unicode form from the system.
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

struct Form {
  const char* name;
  const char* composed;
  bool may_change;  // may_need_composing
  const char* folded;  // fold_name without case
};

TEST(NameFold, ComposesFromTheSystemAndFoldsCaseAfterwards) {
  const Form forms[] = {
      {"Readme.TXT", "Readme.TXT", false, "README.TXT"},
      // Below U+0300 a name is composed as it is, é included.
      {"\u00E9t\u00E9", "\u00E9t\u00E9", false, "\u00C9T\u00C9"},
      // As a Mac writes "がぎ.txt": each kana and the voiced mark.
      {"\u304B\u3099\u304D\u3099.txt", "\u304C\u304E.txt", true, "\u304C\u304E.TXT"},
      {"\u304C\u304E.txt", "\u304C\u304E.txt", true, "\u304C\u304E.TXT"},
      {"e\u0301", "\u00E9", true, "\u00C9"},
      // The marks in canonical order first; a singleton (the Angstrom sign)
      // and a compatibility ideograph become what they stand for.
      {"a\u0302\u0323", "\u1EAD", true, "\u1EAD"},
      {"\u212B", "\u00C5", true, "\u00C5"},
      {"\uF900", "\u8C48", true, "\u8C48"},
      // Hangul jamo compose into their syllable.
      {"\u1100\u1161", "\uAC00", true, "\uAC00"},
      // Bytes that are no UTF-8 stay as they are.
      {"a\xCC\xFF", "a\xCC\xFF", true, "A\xCC\xFF"},
      {"", "", false, ""},
  };
  for (const Form& f : forms) {
    EXPECT_EQ(compose(f.name), f.composed) << f.name;
    EXPECT_EQ(may_need_composing(f.name), f.may_change) << f.name;
    EXPECT_EQ(fold_name(f.name, false), f.composed) << f.name;
    EXPECT_EQ(fold_name(f.name, true), f.folded) << f.name;
  }
}

}  // namespace
}  // namespace tav
