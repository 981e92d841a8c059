// Fonts and colours of the controls.
#pragma once

#include <windows.h>

#include "platform/win32/window/form_state.h"

namespace tav::win32 {

// (Re)creates the control's font from its face, height (scaled to the
// form's DPI) and weight in state.fonts and gives it to the control; the
// old font is freed.
void apply_font(FormState& state, Control control);

// Frees every font of the form.
void free_fonts(FormState& state);

// Answers a WM_CTLCOLOR... message for one of the form's controls: its text
// and background colours and the brush of its background. Null for a window
// that is not one of them.
HBRUSH control_colours(FormState& state, HDC dc, HWND window);

}  // namespace tav::win32
