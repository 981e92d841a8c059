#include "platform/win32/window/notifications.h"

#include <array>

#include "window/event_delivery.h"

namespace tav::win32 {

namespace {

struct NotificationEvents {
  ControlKind kind;
  WORD notification;
  std::array<int, 2> events;
  std::size_t count;
};

using K = ControlKind;
namespace e = event;

// A selection change in a list box is a change and then a click.
// clang-format off
constexpr std::array<NotificationEvents, 17> kTable{{
  {K::PushButton, BN_CLICKED,     {e::kOn},                1},
  {K::CheckBox,   BN_CLICKED,     {e::kOn},                1},
  {K::Edit,       EN_CHANGE,      {e::kChange},            1},
  {K::Edit,       EN_SETFOCUS,    {e::kSetFocus},          1},
  {K::Edit,       EN_KILLFOCUS,   {e::kKillFocus},         1},
  {K::StaticText, STN_CLICKED,    {e::kClick},             1},
  {K::StaticText, STN_DBLCLK,     {e::kDoubleClick},       1},
  {K::ListBox,    LBN_SELCHANGE,  {e::kChange, e::kClick}, 2},
  {K::ListBox,    LBN_DBLCLK,     {e::kDoubleClick},       1},
  {K::ListBox,    LBN_SETFOCUS,   {e::kSetFocus},          1},
  {K::ListBox,    LBN_KILLFOCUS,  {e::kKillFocus},         1},
  {K::ComboBox,   CBN_SELCHANGE,  {e::kChange},            1},
  {K::ComboBox,   CBN_EDITCHANGE, {e::kChange},            1},
  {K::ComboBox,   CBN_DBLCLK,     {e::kDoubleClick},       1},
  {K::ComboBox,   CBN_DROPDOWN,   {e::kClick},             1},
  {K::ComboBox,   CBN_SETFOCUS,   {e::kSetFocus},          1},
  {K::ComboBox,   CBN_KILLFOCUS,  {e::kKillFocus},         1},
}};
// clang-format on

}  // namespace

std::span<const int> events_of_notification(ControlKind kind, WORD notification) {
  for (const auto& row : kTable) {
    if (row.kind == kind && row.notification == notification) {
      return {row.events.data(), row.count};
    }
  }
  return {};
}

}  // namespace tav::win32
