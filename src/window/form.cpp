#include "window/form.h"

#include <array>
#include <stdexcept>

namespace tav {

namespace {

struct ActionEvents {
  ControlKind kind;
  UserAction action;
  std::array<int, 2> events;
  std::size_t count;
};

using K = ControlKind;
using A = UserAction;
namespace e = event;

// A selection change in a list box is a change and then a click.
// clang-format off
constexpr std::array<ActionEvents, 17> kActionEvents{{
  {K::PushButton, A::Press,           {e::kOn},                1},
  {K::CheckBox,   A::Press,           {e::kOn},                1},
  {K::Edit,       A::TextChange,      {e::kChange},            1},
  {K::Edit,       A::FocusGained,     {e::kSetFocus},          1},
  {K::Edit,       A::FocusLost,       {e::kKillFocus},         1},
  {K::StaticText, A::Click,           {e::kClick},             1},
  {K::StaticText, A::DoubleClick,     {e::kDoubleClick},       1},
  {K::ListBox,    A::SelectionChange, {e::kChange, e::kClick}, 2},
  {K::ListBox,    A::DoubleClick,     {e::kDoubleClick},       1},
  {K::ListBox,    A::FocusGained,     {e::kSetFocus},          1},
  {K::ListBox,    A::FocusLost,       {e::kKillFocus},         1},
  {K::ComboBox,   A::SelectionChange, {e::kChange},            1},
  {K::ComboBox,   A::TextChange,      {e::kChange},            1},
  {K::ComboBox,   A::DoubleClick,     {e::kDoubleClick},       1},
  {K::ComboBox,   A::DropDown,        {e::kClick},             1},
  {K::ComboBox,   A::FocusGained,     {e::kSetFocus},          1},
  {K::ComboBox,   A::FocusLost,       {e::kKillFocus},         1},
}};
// clang-format on

}  // namespace

std::span<const int> events_of(ControlKind kind, UserAction action) {
  for (const ActionEvents& row : kActionEvents) {
    if (row.kind == kind && row.action == action) return {row.events.data(), row.count};
  }
  return {};
}

const ControlDesc& FormDesc::control(Control id) const {
  for (const auto& desc : controls) {
    if (desc.id == id) return desc;
  }
  throw std::logic_error("the form has no such control");
}

}  // namespace tav
