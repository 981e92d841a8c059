#include "platform/qt/message_boxes.h"

#include <QMessageBox>
#include <QPushButton>
#include <algorithm>
#include <array>
#include <span>
#include <vector>

#include "platform/qt/qt_text.h"

namespace tav::qt {

namespace {

struct ButtonText {
  Answer answer;
  std::string_view text;
};

constexpr ButtonText kOk{Answer::Ok, "OK"};
constexpr ButtonText kCancel{Answer::Cancel, "キャンセル"};
constexpr ButtonText kAbort{Answer::Abort, "中止(&A)"};
constexpr ButtonText kRetry{Answer::Retry, "再試行(&R)"};
constexpr ButtonText kIgnore{Answer::Ignore, "無視(&I)"};
constexpr ButtonText kYes{Answer::Yes, "はい(&Y)"};
constexpr ButtonText kNo{Answer::No, "いいえ(&N)"};

constexpr std::array<ButtonText, 1> kOkSet{kOk};
constexpr std::array<ButtonText, 2> kOkCancelSet{kOk, kCancel};
constexpr std::array<ButtonText, 3> kAbortRetryIgnoreSet{kAbort, kRetry, kIgnore};
constexpr std::array<ButtonText, 3> kYesNoCancelSet{kYes, kNo, kCancel};
constexpr std::array<ButtonText, 2> kYesNoSet{kYes, kNo};
constexpr std::array<ButtonText, 2> kRetryCancelSet{kRetry, kCancel};

struct ButtonSet {
  Buttons buttons;
  std::span<const ButtonText> texts;
};

// clang-format off
constexpr std::array<ButtonSet, 6> kButtonSets{{
  {Buttons::Ok,               kOkSet},
  {Buttons::OkCancel,         kOkCancelSet},
  {Buttons::AbortRetryIgnore, kAbortRetryIgnoreSet},
  {Buttons::YesNoCancel,      kYesNoCancelSet},
  {Buttons::YesNo,            kYesNoSet},
  {Buttons::RetryCancel,      kRetryCancelSet},
}};

constexpr std::array<std::pair<Icon, QMessageBox::Icon>, 5> kIcons{{
  {Icon::Stop,        QMessageBox::Critical},
  {Icon::Question,    QMessageBox::Question},
  {Icon::Exclamation, QMessageBox::Warning},
  {Icon::Information, QMessageBox::Information},
  {Icon::None,        QMessageBox::NoIcon},
}};
// clang-format on

// The program's texts end lines with CR LF, CR or LF alike, as Windows'
// message boxes read them.
QString box_text(std::string_view text) {
  return qt_text(text)
      .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
      .replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

void prepare(QMessageBox& box, std::string_view caption, std::string_view text,
             QMessageBox::Icon icon) {
  box.setWindowTitle(qt_text(caption));
  box.setTextFormat(Qt::PlainText);
  box.setText(box_text(text));
  box.setIcon(icon);
}

// A button in the order of the set. Every button takes the same role, so
// that no platform layout moves them and Esc is never guessed from a role.
QPushButton* add_button(QMessageBox& box, std::string_view text) {
  return box.addButton(qt_text(text), QMessageBox::ActionRole);
}

}  // namespace

Answer show_message_box(QWidget* owner, std::string_view caption, std::string_view text,
                        Buttons buttons, Icon icon) {
  QMessageBox box(owner);
  const auto icon_entry = std::ranges::find(kIcons, icon, &std::pair<Icon, QMessageBox::Icon>::first);
  prepare(box, caption, text, icon_entry == kIcons.end() ? QMessageBox::NoIcon : icon_entry->second);

  const auto set = std::ranges::find(kButtonSets, buttons, &ButtonSet::buttons);
  const std::span<const ButtonText> texts = set == kButtonSets.end() ? kOkSet : set->texts;
  std::vector<QPushButton*> added;
  for (const ButtonText& button : texts) added.push_back(add_button(box, button.text));
  box.setDefaultButton(added.front());
  const auto cancel = std::ranges::find(texts, Answer::Cancel, &ButtonText::answer);
  if (cancel != texts.end()) box.setEscapeButton(added[static_cast<std::size_t>(cancel - texts.begin())]);

  box.exec();
  const auto clicked = std::ranges::find(added, box.clickedButton());
  return clicked == added.end() ? Answer::Ok
                                : texts[static_cast<std::size_t>(clicked - added.begin())].answer;
}

void show_error_report_box(QWidget* owner, const ErrorReport& report) {
  QMessageBox box(owner);
  prepare(box, report.title, report.text, QMessageBox::Warning);
  QPushButton* ok = add_button(box, kOk.text);
  box.setDefaultButton(ok);
  box.setEscapeButton(ok);
  // Help is pressed like any button but leaves the box open: its clicks
  // no longer reach the box, which closes on every button it hears of.
  QPushButton* help = add_button(box, "ヘルプ(&H)");
  QObject::disconnect(help, &QAbstractButton::clicked, nullptr, nullptr);
  box.exec();
}

}  // namespace tav::qt
