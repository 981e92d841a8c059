#include "app/main_flow.h"

#include <gtest/gtest.h>

#include "app/main_form.h"
#include "support/current_folder.h"
#include "support/scripted_window.h"
#include "support/sync_fixture.h"

namespace tav {
namespace {

using test::ScriptedWindow;

constexpr std::string_view kPrompt = " 「方向ボタン」を押すと検索を開始します。";

class MainFlowTest : public testing::Test {
 protected:
  MainFlowTest() : window(main_form()) {}

  // Runs the program to its end and gives its exit code.
  int run() {
    return test::run_to_end(
        window, {{"A: USB・FD等交換可能ディスク", "A:\\"}, {"C: 固定ディスク", "C:\\"}});
  }

  bool settings_written() const { return here.tree.exists(here.settings_file()); }
  std::string settings_bytes() const { return here.tree.read(here.settings_file()); }

  test::InTemporaryFolder here;
  ScriptedWindow window;
};

TEST_F(MainFlowTest, StartUpPreparesTheSelectionState) {
  window.click(Control::Button4);
  EXPECT_EQ(run(), 0);

  EXPECT_EQ(window.width, 940);
  EXPECT_EQ(window.height, 724);
  EXPECT_TRUE(window.state(Control::MainForm).visible);
  EXPECT_EQ(window.state(Control::Text1).text, kPrompt);
  EXPECT_EQ(window.state(Control::Edit3).text, "作成or更新対象となるフォルダ・ファイル");
  EXPECT_EQ(window.state(Control::Edit4).text, "削除対象となるフォルダ・ファイル");
  EXPECT_EQ(window.state(Control::Button1).text, "...");
  EXPECT_EQ(window.state(Control::Button2).text, "←");
  EXPECT_EQ(window.state(Control::Button3).text, "→");
  EXPECT_EQ(window.state(Control::Button4).text, "中　止");
  EXPECT_EQ(window.state(Control::Text5).text, "(本体k内の親ディレクトリとみなすフォルダ)");
  EXPECT_EQ(window.state(Control::Button2).char_height, 30);
  EXPECT_TRUE(window.state(Control::Button3).bold);
  EXPECT_EQ(window.state(Control::Edit1).char_height, 14);
  EXPECT_EQ(window.state(Control::Text6).char_height, 12);
  EXPECT_FALSE(window.state(Control::Check1).enabled);
  EXPECT_TRUE(window.state(Control::Button2).enabled);
  EXPECT_EQ(window.state(Control::Combo1).items,
            (std::vector<std::string>{"A: USB・FD等交換可能ディスク", "C: 固定ディスク"}));
  EXPECT_EQ(window.state(Control::Combo1).selected, -1);
  EXPECT_EQ(window.state(Control::Edit1).text, "");
  EXPECT_EQ(window.state(Control::Combo1).text, "");
  // Stopping in the selection state creates no settings file.
  EXPECT_FALSE(settings_written());
}

TEST_F(MainFlowTest, SettingsFileFillsTheFieldsAndStopKeepsIt) {
  here.tree.file(here.settings_file(), "\"C:\\\x8D\xEC\x8B\xC6\",\"Z: \x95\x73\x96\xBE\"\r\n");
  window.click(Control::Button4);
  run();
  EXPECT_EQ(window.state(Control::Edit1).text, "C:\\作業");
  // Shown although no drive of the list matches it.
  EXPECT_EQ(window.state(Control::Combo1).text, "Z: 不明");
  EXPECT_EQ(settings_bytes(), "\"C:\\\x8D\xEC\x8B\xC6\",\"Z: \x95\x73\x96\xBE\"\r\n");
}

TEST_F(MainFlowTest, DoubleClicksAndOtherControlsDoNothingInTheSelectionState) {
  window.double_click(Control::List1, -1)
      .double_click(Control::List2, 0)
      .click(Control::Check1)
      .click(Control::Button4);
  EXPECT_EQ(run(), 0);
  EXPECT_EQ(window.state(Control::Text1).text, kPrompt);
  EXPECT_FALSE(settings_written());
  EXPECT_EQ(window.waits(), 3);
}

TEST_F(MainFlowTest, ClosingTheWindowEndsWithoutSettings) {
  window.close_window();
  EXPECT_EQ(run(), 0);
  EXPECT_FALSE(settings_written());
}

TEST_F(MainFlowTest, UnreadableSettingsFileIsReportedOnceAndEnds) {
  here.tree.file(here.settings_file(), "\"a\"x,\"b\"\r\n");
  EXPECT_EQ(run(), 1);
  ASSERT_EQ(window.error_reports().size(), 1u);
  EXPECT_EQ(window.error_reports()[0].title, "Tavrelon.EXE");
  EXPECT_TRUE(window.error_reports()[0].text.starts_with("\r\nmain_flow.cpp ["));
  EXPECT_NE(window.error_reports()[0].text.find("]:エラー[5]"), std::string::npos);
  EXPECT_EQ(window.waits(), 0);
}

// The first press of a direction button over two trees with nothing to do.
class FirstPressTest : public test::SyncTest {
 protected:
  FirstPressTest() {
    folder_side.folder("p");
    drive_side.folder("p");
  }
};

TEST_F(FirstPressTest, BrowserCancelKeepsTheFolderAndAChoiceReplacesIt) {
  window.type(Control::Edit1, "typed")
      .click(Control::Button1)  // cancelled
      .click(Control::Button1)  // a folder chosen
      .click(Control::Button3);
  window.browse_result("").browse_result(folder_side.root());
  EXPECT_EQ(run(), 0);
  // Set at start-up, then by the chosen folder only: the cancel set nothing.
  EXPECT_EQ(window.texts(Control::Edit1), (std::vector<std::string>{"", folder_side.root()}));
  EXPECT_EQ(read_settings().folder_path, folder_side.root());
}

TEST_F(FirstPressTest, TakesTheFieldsAndCompletes) {
  window.type(Control::Edit1, "\u3000" + folder_side.root() + " ")
      .type(Control::Combo1, drive.entry() + " ")
      .click(Control::Button3);
  EXPECT_EQ(run(), 0);
  EXPECT_FALSE(window.state(Control::Button2).enabled);
  EXPECT_FALSE(window.state(Control::Button3).enabled);
  EXPECT_FALSE(window.state(Control::Check1).enabled);
  EXPECT_EQ(window.state(Control::Text1).text, "処理完了！　");
  EXPECT_EQ(window.state(Control::Button4).text, "終  了");
  // EDIT1 keeps its text; the settings hold the trimmed folder and the
  // untrimmed drive entry.
  EXPECT_EQ(window.state(Control::Edit1).text, "\u3000" + folder_side.root() + " ");
  EXPECT_EQ(read_settings(), (Settings{folder_side.root(), drive.entry() + " "}));
  // With nothing found the program ends without another wait.
  EXPECT_EQ(window.waits(), 1);
}

TEST_F(FirstPressTest, LeftArrowFirstDisablesTheRightArrow) {
  window.click(Control::Button2);
  EXPECT_EQ(run(), 0);
  EXPECT_TRUE(window.state(Control::Button3).text == "→");
  EXPECT_FALSE(window.state(Control::Button3).enabled);
  EXPECT_TRUE(here.tree.exists(here.settings_file()));
}

TEST_F(FirstPressTest, EmptyFolderOrDriveEndsWithTheScanMessage) {
  for (const auto& [folder, entry] : {std::pair<std::string, std::string>{" \u3000", drive.entry()},
                                      {folder_side.root(), ""},
                                      {folder_side.root(), " T: leading blank"}}) {
    test::ScriptedWindow fresh(main_form());
    fresh.type(Control::Edit1, folder).type(Control::Combo1, entry).click(Control::Button3);
    EXPECT_EQ(test::run_to_end(fresh, {}), 0);
    ASSERT_EQ(fresh.boxes().size(), 1u) << folder << "|" << entry;
    EXPECT_EQ(fresh.boxes()[0].text, "照合先に対象となる親ディレクトリが存在しません");
  }
  EXPECT_FALSE(here.tree.exists(here.settings_file()));
}

TEST_F(FirstPressTest, SettingsThatCannotBeWrittenEndWithAReport) {
  here.tree.folder(here.settings_file());
  window.click(Control::Button3);
  EXPECT_EQ(run(), 1);
  ASSERT_EQ(window.error_reports().size(), 1u);
  EXPECT_NE(window.error_reports()[0].text.find("]:エラー[75]"), std::string::npos);
  EXPECT_EQ(window.state(Control::Button4).text, "終  了");
}

}  // namespace
}  // namespace tav
