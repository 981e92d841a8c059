// The look the form gives its controls: text and background colours, and
// the font by face, character height in pixels and weight.
#pragma once

#include <QFont>
#include <cstdint>
#include <string_view>

#include "window/form.h"

class QWidget;

namespace tav::qt {

// Colours are 0xRRGGBB. A disabled control keeps its background and shows
// its text in grey.
void apply_colours(QWidget& widget, ControlKind kind, std::uint32_t text, std::uint32_t background);

// The face (or its installed stand-in) at a character height in pixels.
QFont control_font(std::string_view face, int char_height, bool bold);

}  // namespace tav::qt
