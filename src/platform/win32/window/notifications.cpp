#include "platform/win32/window/notifications.h"

#include <array>

#include "window/form.h"

namespace tav::win32 {

namespace {

struct NotificationAction {
  ControlKind kind;
  WORD notification;
  UserAction action;
};

using K = ControlKind;
using A = UserAction;

// clang-format off
constexpr std::array<NotificationAction, 17> kTable{{
  {K::PushButton, BN_CLICKED,     A::Press},
  {K::CheckBox,   BN_CLICKED,     A::Press},
  {K::Edit,       EN_CHANGE,      A::TextChange},
  {K::Edit,       EN_SETFOCUS,    A::FocusGained},
  {K::Edit,       EN_KILLFOCUS,   A::FocusLost},
  {K::StaticText, STN_CLICKED,    A::Click},
  {K::StaticText, STN_DBLCLK,     A::DoubleClick},
  {K::ListBox,    LBN_SELCHANGE,  A::SelectionChange},
  {K::ListBox,    LBN_DBLCLK,     A::DoubleClick},
  {K::ListBox,    LBN_SETFOCUS,   A::FocusGained},
  {K::ListBox,    LBN_KILLFOCUS,  A::FocusLost},
  {K::ComboBox,   CBN_SELCHANGE,  A::SelectionChange},
  {K::ComboBox,   CBN_EDITCHANGE, A::TextChange},
  {K::ComboBox,   CBN_DBLCLK,     A::DoubleClick},
  {K::ComboBox,   CBN_DROPDOWN,   A::DropDown},
  {K::ComboBox,   CBN_SETFOCUS,   A::FocusGained},
  {K::ComboBox,   CBN_KILLFOCUS,  A::FocusLost},
}};
// clang-format on

}  // namespace

std::span<const int> events_of_notification(ControlKind kind, WORD notification) {
  for (const auto& row : kTable) {
    if (row.kind == kind && row.notification == notification) return events_of(kind, row.action);
  }
  return {};
}

}  // namespace tav::win32
