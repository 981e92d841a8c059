// The description of a form and its controls, from which the window layers
// build the window.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "window/window.h"

namespace tav {

enum class ControlKind { PushButton, CheckBox, Edit, StaticText, ListBox, ComboBox };

// The event kinds by number; a procedure's name is the control's name
// followed by the kind's suffix.
namespace event {
inline constexpr int kOn = 1;
inline constexpr int kChange = 2;
inline constexpr int kSetFocus = 5;
inline constexpr int kKillFocus = 6;
inline constexpr int kClick = 8;
inline constexpr int kDoubleClick = 9;
inline constexpr int kQueryClose = 17;
inline constexpr int kUndo = 21;  // the form's command that undoes the last run
inline constexpr int kCount = 22;
}  // namespace event

// What the user does to a control, as every window layer tells it apart.
enum class UserAction { Press, TextChange, SelectionChange, Click, DoubleClick, DropDown,
                        FocusGained, FocusLost };

// The events an action on a control of this kind sends, in the order they
// occur; none where the kind sends nothing for it.
std::span<const int> events_of(ControlKind kind, UserAction action);

// Colours are 0xRRGGBB; positions and sizes pixels of the form's client area.
struct ControlDesc {
  Control id;
  std::string_view name;  // upper case; event procedures are named after it
  ControlKind kind;
  int left, top, width, height;
  std::string_view design_text;
  std::uint32_t text_colour;
  std::uint32_t background;
  std::string_view face;
  int char_height;  // pixels
  bool bold;
  bool sorted;       // list box keeping its items sorted
  int text_limit;    // edit: most bytes of text (code page 932); 0 for none
  bool bordered;     // a plain border, besides the edge of its kind
};

struct FormDesc {
  std::string_view title;
  std::string_view name;
  int created_width, created_height;  // outer size at creation, centred on the screen
  std::string_view face;              // design font of the form itself
  int char_height;
  std::span<const ControlDesc> controls;
  // The form's one command besides its controls, an item of its menu (the
  // system menu on Windows, a context menu elsewhere) that Ctrl+Z sends too;
  // empty for none. It sends event::kUndo to the form.
  std::string_view undo_command;

  // The description of a control (not of the form itself).
  const ControlDesc& control(Control id) const;
};

}  // namespace tav
