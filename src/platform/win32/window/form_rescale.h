// The form taking a new DPI (moved to a monitor of another scale, or the
// scale changed): the frame placed where the system suggests, every
// control moved to its rectangle at the new scale and given its font anew.
#pragma once

#include <windows.h>

#include "platform/win32/window/form_state.h"

namespace tav::win32 {

void rescale_form(FormState& state, int dpi, const RECT& suggested_frame);

}  // namespace tav::win32
