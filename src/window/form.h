// The description of a form and its controls, from which the window layers
// build the window.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "window/window.h"

namespace tav {

enum class ControlKind { PushButton, CheckBox, Edit, StaticText, ListBox, ComboBox };

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
};

struct FormDesc {
  std::string_view title;
  std::string_view name;
  int created_width, created_height;  // outer size at creation, centred on the screen
  std::string_view face;              // design font of the form itself
  int char_height;
  std::span<const ControlDesc> controls;

  // The description of a control (not of the form itself).
  const ControlDesc& control(Control id) const;
};

}  // namespace tav
