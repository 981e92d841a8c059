#include "platform/qt/form_builder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <functional>

#include "window/form.h"
#include "platform/qt/byte_limit_validator.h"
#include "platform/qt/control_look.h"
#include "platform/qt/line_list_box.h"
#include "platform/qt/qt_text.h"

namespace tav::qt {

namespace {

// The edit field of the combo box; the rest of its height is the list it
// drops down.
constexpr int kComboFieldHeight = 24;

// What sends the events of an action on the control, as the form's
// description says.
std::function<void()> sender(const FormEvents& events, const ControlDesc& desc, UserAction action) {
  return [events, id = desc.id, kind = desc.kind, action] {
    for (const int event : events_of(kind, action)) events.event(id, event);
  };
}

QWidget* make_button(const ControlDesc& desc, QWidget* parent, const FormEvents& events) {
  auto* button = new QPushButton(qt_text(desc.design_text), parent);
  button->setAutoDefault(true);  // Enter clicks the focused button, as Space does
  QObject::connect(button, &QPushButton::clicked, sender(events, desc, UserAction::Press));
  return button;
}

QWidget* make_check_box(const ControlDesc& desc, QWidget* parent, const FormEvents& events) {
  auto* box = new QCheckBox(qt_text(desc.design_text), parent);
  QObject::connect(box, &QCheckBox::clicked, sender(events, desc, UserAction::Press));
  return box;
}

QWidget* make_edit(const ControlDesc& desc, QWidget* parent, const FormEvents& events) {
  auto* edit = new QLineEdit(qt_text(desc.design_text), parent);
  if (desc.text_limit > 0) edit->setValidator(new ByteLimitValidator(desc.text_limit, edit));
  QObject::connect(edit, &QLineEdit::textChanged, sender(events, desc, UserAction::TextChange));
  return edit;
}

// An edit field has a frame of its own; a static text shows the form's
// border as a plain box.
QWidget* make_static_text(const ControlDesc& desc, QWidget* parent, const FormEvents&) {
  auto* label = new QLabel(qt_text(desc.design_text), parent);
  label->setTextFormat(Qt::PlainText);
  label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  label->setWordWrap(true);
  if (desc.bordered) label->setFrameStyle(QFrame::Box | QFrame::Plain);
  return label;
}

QWidget* make_list_box(const ControlDesc& desc, QWidget* parent, const FormEvents& events) {
  return new LineListBox(desc.sorted,
                         {sender(events, desc, UserAction::SelectionChange),
                          sender(events, desc, UserAction::DoubleClick)},
                         parent);
}

QWidget* make_combo_box(const ControlDesc& desc, QWidget* parent, const FormEvents& events) {
  auto* combo = new QComboBox(parent);
  combo->setEditable(true);
  combo->setInsertPolicy(QComboBox::NoInsert);
  combo->setDuplicatesEnabled(true);
  combo->setEditText(qt_text(desc.design_text));
  QObject::connect(combo, &QComboBox::editTextChanged, sender(events, desc, UserAction::TextChange));
  QObject::connect(combo, &QComboBox::currentIndexChanged,
                   sender(events, desc, UserAction::SelectionChange));
  return combo;
}

using Maker = QWidget* (*)(const ControlDesc&, QWidget*, const FormEvents&);

// clang-format off
constexpr std::array<std::pair<ControlKind, Maker>, 6> kMakers{{
  {ControlKind::PushButton, make_button},
  {ControlKind::CheckBox,   make_check_box},
  {ControlKind::Edit,       make_edit},
  {ControlKind::StaticText, make_static_text},
  {ControlKind::ListBox,    make_list_box},
  {ControlKind::ComboBox,   make_combo_box},
}};
// clang-format on

// The rectangle of the control; the combo box keeps its field's height and
// shows as many rows of its list as the rest of its height holds.
void place(QWidget& widget, const ControlDesc& desc) {
  if (desc.kind != ControlKind::ComboBox) {
    widget.setGeometry(desc.left, desc.top, desc.width, desc.height);
    return;
  }
  widget.setGeometry(desc.left, desc.top, desc.width, std::min(desc.height, kComboFieldHeight));
  const int row = std::max(desc.char_height + 4, 1);
  static_cast<QComboBox&>(widget).setMaxVisibleItems(
      std::max((desc.height - kComboFieldHeight) / row, 1));
}

QWidget* make_control(const ControlDesc& desc, QWidget* parent, const FormEvents& events) {
  const auto maker = std::ranges::find(kMakers, desc.kind, &std::pair<ControlKind, Maker>::first);
  QWidget* widget = maker->second(desc, parent, events);
  widget->setObjectName(qt_text(desc.name));
  place(*widget, desc);
  apply_colours(*widget, desc.kind, desc.text_colour, desc.background);
  return widget;
}

}  // namespace

BuiltForm build_form(const FormDesc& desc, FormEvents events) {
  BuiltForm built;
  built.form = std::make_unique<FormWindow>(events.closed);
  FormWindow& form = *built.form;
  form.setObjectName(qt_text(desc.name));
  form.setWindowTitle(qt_text(desc.title));
  form.set_outer_size(desc.created_width, desc.created_height);
  form.centre_outer(desc.created_width, desc.created_height);
  if (!desc.undo_command.empty()) {
    form.add_command(qt_text(desc.undo_command),
                     [event = events.event] { event(Control::MainForm, event::kUndo); });
  }
  built.widgets[0] = &form;
  built.fonts[0] = control_font(desc.face, desc.char_height, false);
  form.setFont(built.fonts[0]);
  for (const ControlDesc& control : desc.controls) {
    const auto index = static_cast<std::size_t>(control.id);
    QWidget* widget = make_control(control, &form, events);
    built.widgets[index] = widget;
    built.fonts[index] = control_font(control.face, control.char_height, control.bold);
    widget->setFont(built.fonts[index]);
  }
  return built;
}

}  // namespace tav::qt
