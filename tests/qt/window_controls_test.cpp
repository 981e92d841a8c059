// The form as the Qt window builds it, and the list and edit behaviour the
// main flow relies on.
#include <QComboBox>
#include <QFontInfo>
#include <QLineEdit>
#include <QTest>
#include <algorithm>

#include "platform/qt/form_window.h"
#include "qt_window_fixture.h"

namespace tav::test {
namespace {

using Controls = QtWindowTest;

std::vector<std::string> items_of(Window& window, Control list) {
  std::vector<std::string> items;
  for (std::string text; !(text = window.list_item_text(list, int(items.size()))).empty();) {
    items.push_back(text);
  }
  return items;
}

bool is_japanese_gothic(const QFont& font) {
  const QString family = QFontInfo(font).family();
  return family.contains("Gothic") || family.contains("ゴシック") || family.contains("CJK");
}

TEST_F(Controls, TheFixedSizeFormHoldsEveryControlAtItsRectangleInAJapaneseFace) {
  QWidget& form = *window.widget(Control::MainForm);
  window.set_size(Control::MainForm, 940, 724);
  EXPECT_EQ(form.size(), qt::client_size_of(940, 724));
  EXPECT_EQ(form.minimumSize(), form.maximumSize());
  EXPECT_FALSE(form.windowFlags() & Qt::WindowMaximizeButtonHint);
  for (const ControlDesc& desc : main_form().controls) {
    const QWidget& widget = *window.widget(desc.id);
    EXPECT_EQ(widget.pos(), QPoint(desc.left, desc.top)) << desc.name;
    EXPECT_EQ(widget.width(), desc.width) << desc.name;
    EXPECT_TRUE(form.rect().contains(widget.geometry())) << desc.name;
    EXPECT_EQ(widget.font().pixelSize(), desc.char_height) << desc.name;
    EXPECT_TRUE(is_japanese_gothic(widget.font())) << desc.name;
  }
}

TEST_F(Controls, TheSortedListReadsBackInItsOrderAfterAFillAndARebuild) {
  std::vector<std::string> lines;
  for (int i = 999; i >= 0; --i) lines.push_back("(作成) /d/" + std::to_string(i));
  lines.push_back("(更新) /d/x");
  lines.push_back("(作成) /d/B");  // capitals before small letters: bytes decide
  window.list_fill(Control::List1, lines);
  window.list_fill(Control::List2, lines);
  auto expected = lines;
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(items_of(window, Control::List1), expected);
  EXPECT_EQ(items_of(window, Control::List2), lines);

  // A withdrawal rebuilds the list from the lines that are left.
  lines.erase(lines.begin() + 500);
  window.list_fill(Control::List1, lines);
  expected.erase(std::find(expected.begin(), expected.end(), "(作成) /d/499"));
  EXPECT_EQ(items_of(window, Control::List1), expected);
  EXPECT_EQ(window.list_selected_index(Control::List1), -1);
  EXPECT_EQ(window.list_item_text(Control::List1, -1), "");

  // The execution adds its lines one by one.
  window.list_clear(Control::List1);
  for (const char* line : {"b", "c", "a"}) window.list_add(Control::List1, line);
  EXPECT_EQ(items_of(window, Control::List1), (std::vector<std::string>{"a", "b", "c"}));
}

TEST_F(Controls, TheComboBoxListsInOrderAndKeepsItsTypedText) {
  window.set_text(Control::Combo1, "typed");
  window.list_add(Control::Combo1, "B: 固定ディスク /b");
  window.list_add(Control::Combo1, "A: 固定ディスク /");
  EXPECT_EQ(window.get_text(Control::Combo1), "typed");
  EXPECT_EQ(items_of(window, Control::Combo1),
            (std::vector<std::string>{"B: 固定ディスク /b", "A: 固定ディスク /"}));
  EXPECT_EQ(window.list_selected_index(Control::Combo1), -1);
  control<QComboBox>(Control::Combo1).setCurrentIndex(1);  // the user picks a drive
  EXPECT_EQ(window.get_text(Control::Combo1), "A: 固定ディスク /");
}

TEST_F(Controls, EditFieldsTakeAtMostTheirLimitInCodePage932Bytes) {
  auto& edit = control<QLineEdit>(Control::Edit1);
  window.set_text(Control::Edit1, std::string(32766, 'a'));
  // A double-byte character is one byte too many; a single-byte one fits.
  QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_unknown, QStringLiteral("写"), Qt::NoModifier);
  EXPECT_EQ(edit.text().size(), 32766);
  QTest::keyClicks(&edit, "b");
  EXPECT_EQ(edit.text().size(), 32767);
}

}  // namespace
}  // namespace tav::test
