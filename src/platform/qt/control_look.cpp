#include "platform/qt/control_look.h"

#include <QColor>
#include <QPalette>
#include <QWidget>
#include <algorithm>
#include <array>

#include "platform/qt/font_faces.h"

namespace tav::qt {

namespace {

struct KindRoles {
  ControlKind kind;
  QPalette::ColorRole text;
  QPalette::ColorRole background;
  bool fills_background;  // a widget that paints no background of its own
};

// clang-format off
constexpr std::array<KindRoles, 6> kRoles{{
  {ControlKind::PushButton, QPalette::ButtonText, QPalette::Button, false},
  {ControlKind::CheckBox,   QPalette::WindowText, QPalette::Window, true},
  {ControlKind::Edit,       QPalette::Text,       QPalette::Base,   false},
  {ControlKind::StaticText, QPalette::WindowText, QPalette::Window, true},
  {ControlKind::ListBox,    QPalette::Text,       QPalette::Base,   false},
  {ControlKind::ComboBox,   QPalette::Text,       QPalette::Base,   false},
}};
// clang-format on

QColor colour(std::uint32_t rgb) {
  return QColor(static_cast<int>((rgb >> 16) & 0xFF), static_cast<int>((rgb >> 8) & 0xFF),
                static_cast<int>(rgb & 0xFF));
}

// The grey of disabled text, readable on the form's light and dark
// backgrounds alike.
constexpr std::uint32_t kGreyText = 0x808080;

}  // namespace

void apply_colours(QWidget& widget, ControlKind kind, std::uint32_t text,
                   std::uint32_t background) {
  const KindRoles& roles = *std::ranges::find(kRoles, kind, &KindRoles::kind);
  const QColor fore = colour(text);
  const QColor back = colour(background);
  QPalette palette = widget.palette();
  // The kind's roles, and the ones the widget itself paints its text and
  // background with where the style uses others.
  for (const auto text_role : {roles.text, widget.foregroundRole()}) {
    palette.setColor(QPalette::Active, text_role, fore);
    palette.setColor(QPalette::Inactive, text_role, fore);
    palette.setColor(QPalette::Disabled, text_role, colour(kGreyText));
  }
  for (const auto background_role : {roles.background, widget.backgroundRole()}) {
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
      palette.setColor(group, background_role, back);
    }
  }
  widget.setPalette(palette);
  widget.setAutoFillBackground(roles.fills_background);
}

QFont control_font(std::string_view face, int char_height, bool bold) {
  QFont font(installed_face(face));
  font.setPixelSize(std::max(char_height, 1));
  font.setBold(bold);
  return font;
}

}  // namespace tav::qt
