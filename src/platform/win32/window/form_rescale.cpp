#include "platform/win32/window/form_rescale.h"

#include "platform/win32/window/control_style.h"

namespace tav::win32 {

namespace {

constexpr UINT kPlaceOnly = SWP_NOZORDER | SWP_NOACTIVATE;

}  // namespace

void rescale_form(FormState& state, int dpi, const RECT& suggested_frame) {
  state.dpi = dpi;
  ::SetWindowPos(state.form, nullptr, suggested_frame.left, suggested_frame.top,
                 suggested_frame.right - suggested_frame.left,
                 suggested_frame.bottom - suggested_frame.top, kPlaceOnly);
  if (window_of(state, Control::MainForm)) apply_font(state, Control::MainForm);
  // The controls made so far; while the form is being made, none may be.
  for (const ControlDesc& desc : state.desc.controls) {
    const HWND control = window_of(state, desc.id);
    if (!control) continue;
    apply_font(state, desc.id);
    const PixelRect rect = scaled_rect(desc, dpi);
    ::SetWindowPos(control, nullptr, rect.left, rect.top, rect.width, rect.height, kPlaceOnly);
  }
}

}  // namespace tav::win32
