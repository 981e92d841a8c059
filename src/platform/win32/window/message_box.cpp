#include "platform/win32/window/message_box.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>

#include "platform/win32/module_path.h"
#include "platform/win32/wide.h"

namespace tav::win32 {

namespace {

constexpr std::array<std::pair<Buttons, UINT>, 6> kButtonStyles{{
    {Buttons::Ok, MB_OK},
    {Buttons::OkCancel, MB_OKCANCEL},
    {Buttons::AbortRetryIgnore, MB_ABORTRETRYIGNORE},
    {Buttons::YesNoCancel, MB_YESNOCANCEL},
    {Buttons::YesNo, MB_YESNO},
    {Buttons::RetryCancel, MB_RETRYCANCEL},
}};

constexpr std::array<std::pair<Icon, UINT>, 5> kIconStyles{{
    {Icon::Stop, MB_ICONHAND},
    {Icon::Question, MB_ICONQUESTION},
    {Icon::Exclamation, MB_ICONEXCLAMATION},
    {Icon::Information, MB_ICONASTERISK},
    {Icon::None, 0},
}};

constexpr std::array<std::pair<int, Answer>, 7> kAnswers{{
    {IDOK, Answer::Ok},
    {IDCANCEL, Answer::Cancel},
    {IDABORT, Answer::Abort},
    {IDRETRY, Answer::Retry},
    {IDIGNORE, Answer::Ignore},
    {IDYES, Answer::Yes},
    {IDNO, Answer::No},
}};

template <typename Table, typename Key>
auto lookup(const Table& table, Key key, decltype(table[0].second) otherwise) {
  const auto found = std::ranges::find(table, key, &Table::value_type::first);
  return found == table.end() ? otherwise : found->second;
}

}  // namespace

UINT message_box_style(Buttons buttons, Icon icon) {
  return lookup(kButtonStyles, buttons, MB_OK) | lookup(kIconStyles, icon, 0u);
}

Answer answer_of(int result) { return lookup(kAnswers, result, Answer::Ok); }

void fail_startup(HWND owner, int index) {
  const std::string title = program_name_of(module_path()) + ".EXE";
  ::MessageBoxW(owner && ::IsWindow(owner) ? owner : nullptr,
                widen(startup_failure_text(index)).c_str(), widen(title).c_str(), MB_ICONHAND);
  if (owner && ::IsWindow(owner)) ::DestroyWindow(owner);
  ::ExitProcess(1);
}

}  // namespace tav::win32
