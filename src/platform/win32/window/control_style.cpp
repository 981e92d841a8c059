#include "platform/win32/window/control_style.h"

#include <utility>

namespace tav::win32 {

void apply_font(FormState& state, Control control) {
  ControlFont& font = state.fonts[static_cast<std::size_t>(control)];
  const HFONT created = ::CreateFontW(
      -scale_pixels(font.height, state.dpi), 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
      SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
      DEFAULT_PITCH | FF_DONTCARE, font.face.c_str());
  ::SendMessageW(window_of(state, control), WM_SETFONT, reinterpret_cast<WPARAM>(created), TRUE);
  if (font.handle) ::DeleteObject(font.handle);
  font.handle = created;
}

void free_fonts(FormState& state) {
  for (ControlFont& font : state.fonts) {
    if (font.handle) ::DeleteObject(std::exchange(font.handle, nullptr));
  }
}

HBRUSH control_colours(FormState& state, HDC dc, HWND window) {
  const auto control = control_of(state, window);
  if (!control || *control == Control::MainForm) return nullptr;
  const ControlDesc& desc = state.desc.control(*control);
  ::SetTextColor(dc, colour_ref(desc.text_colour));
  ::SetBkColor(dc, colour_ref(desc.background));
  return state.brushes.brush(desc.background);
}

}  // namespace tav::win32
