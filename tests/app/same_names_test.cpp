// Names that are the same are one file: a composed name against its
// decomposed spelling on the other side, in both directions, and a case-only
// difference where a volume ignores case, are paired, and the destination
// takes the source's spelling by a rename; the undo gives the old spelling
// back; two of one name on one side are left out and named.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "support/sample_trees.h"
#include "support/sync_fixture.h"

namespace tav {
namespace {

using test::kNew;
using test::kOld;
using test::TempTree;

// "が" and "ぎ" composed, and each as its base letter and U+3099.
constexpr std::string_view kComposed = "\xE3\x81\x8C\xE3\x81\x8E";
constexpr std::string_view kDecomposed = "\xE3\x81\x8B\xE3\x82\x99\xE3\x81\x8D\xE3\x82\x99";

std::vector<std::string> names_in(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(test::native(folder))) {
    const std::u8string name = entry.path().filename().u8string();
    names.emplace_back(name.begin(), name.end());
  }
  std::ranges::sort(names);
  return names;
}

class SameNames : public test::SyncTest, public testing::WithParamInterface<Control> {
 protected:
  TempTree& from() { return source_side(GetParam()); }
  TempTree& to() { return destination_side(GetParam()); }
  std::string to_root() { return to().root_with_separator(); }
};

TEST_P(SameNames, ADecomposedSpellingTakesTheSourcesByARenameAndTheUndoGivesItBack) {
  if (kPathSeparator != '/') GTEST_SKIP() << "NTFS under Wine keeps names as written";
  const std::string file = std::string(kComposed) + ".txt";
  const std::string other = std::string(kDecomposed) + ".txt";
  from().file("p/" + file, "same", kOld).file("p/" + std::string(kComposed) + "/in.txt", "in", kOld);
  to().file("p/" + other, "same", kOld).file("p/" + std::string(kDecomposed) + "/in.txt", "in", kOld);
  ASSERT_EQ(sync(GetParam()), 0);
  // Two renames, the folder's and the file's; nothing copied or deleted.
  const auto lines = texts(Control::List1);
  EXPECT_EQ(lines.size(), 2u);
  for (const auto& line : lines) EXPECT_TRUE(line.starts_with("(名前変更) ")) << line;
  EXPECT_TRUE(window.state(Control::List2).items.empty());
  EXPECT_EQ(names_in(to().path("p")), (std::vector<std::string>{std::string(kComposed), file}));
  EXPECT_EQ(to().read("p/" + std::string(kComposed) + "/in.txt"), "in");

  // The next run finds nothing; the undo gives the old spellings back.
  ASSERT_EQ(sync_again(GetParam()), 0);
  EXPECT_EQ(again().boxes().back().caption, "検索完了！");
  start_again().undo_command().answer(Answer::Ok).click(Control::Button4);
  ASSERT_EQ(run_again(), 0);
  EXPECT_EQ(names_in(to().path("p")), (std::vector<std::string>{std::string(kDecomposed), other}));
}

TEST_P(SameNames, ANewerSourceIsCopiedUnderItsOwnSpelling) {
  if (kPathSeparator != '/') GTEST_SKIP() << "NTFS under Wine keeps names as written";
  const std::string file = std::string(kComposed) + ".txt";
  from().file("p/" + file, "new", kNew);
  to().file("p/" + std::string(kDecomposed) + ".txt", "old", kOld);
  ASSERT_EQ(sync(GetParam()), 0);
  EXPECT_EQ(names_in(to().path("p")), std::vector<std::string>{file});
  EXPECT_EQ(to().read("p/" + file), "new");
}

TEST_P(SameNames, TwoOfOneNameOnOneSideAreLeftOutAndNamed) {
  if (kPathSeparator != '/') GTEST_SKIP() << "NTFS under Wine keeps names as written";
  from().file("p/" + std::string(kComposed) + ".txt", "one", kNew)
      .file("p/" + std::string(kDecomposed) + ".txt", "two", kNew)
      .file("p/other.txt", "other", kNew);
  to().folder("p");
  ASSERT_EQ(sync(GetParam()), 0);
  ASSERT_FALSE(window.boxes().empty());
  EXPECT_NE(window.boxes()[0].text.find("（同じ名前が２つあります）"), std::string::npos);
  EXPECT_EQ(names_in(to().path("p")), std::vector<std::string>{"other.txt"});
}

INSTANTIATE_TEST_SUITE_P(BothWays, SameNames, TAV_BOTH_ARROWS);

// Where a volume ignores case: a case-only rename on the source is carried
// by a rename, run after run, and never empties the destination.
TEST(SameNamesIgnoringCase, ACaseOnlyRenameIsCarriedAndNothingIsLost) {
  const auto volume = test::test_volume_root("exfat");
  if (!volume) GTEST_SKIP() << "no exFAT volume for this run";
  test::InTemporaryFolder here;
  TempTree folder;
  test::TestDrive drive;
  TempTree stick(*volume);
  stick.folder("p");
  folder.file("p/Docs/a.txt", "a", kOld).file("p/Report.txt", "r", kOld);
  const auto run_into_stick = [&] {
    test::ScriptedWindow window(main_form());
    window.type(Control::Edit1, stick.root()).type(Control::Combo1, drive.entry());
    // The folder side on the stick: "←" from a drive holding the source.
    window.click(Control::Button2).click(Control::Button2).click(Control::Button4);
    const int code = test::run_to_end(window, {drive.drive()});
    for (const auto& report : window.error_reports()) ADD_FAILURE() << report.text;
    return code;
  };
  drive.tree().file("p/Docs/a.txt", "a", kOld).file("p/Report.txt", "r", kOld);
  ASSERT_EQ(run_into_stick(), 0);
  std::filesystem::rename(test::native(drive.tree().path("p/Docs")),
                          test::native(drive.tree().path("p/docs")));
  std::filesystem::rename(test::native(drive.tree().path("p/Report.txt")),
                          test::native(drive.tree().path("p/report.txt")));
  for (int run = 0; run < 2; ++run) {
    ASSERT_EQ(run_into_stick(), 0);
    EXPECT_EQ(names_in(stick.path("p")), (std::vector<std::string>{"docs", "report.txt"}));
    EXPECT_EQ(stick.read("p/docs/a.txt"), "a");
    EXPECT_EQ(stick.read("p/report.txt"), "r");
  }
}

}  // namespace
}  // namespace tav
