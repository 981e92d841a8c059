#include "platform/win32/window/form_state.h"

namespace tav::win32 {

BrushCache::~BrushCache() {
  for (const auto& [rgb, brush] : brushes_) ::DeleteObject(brush);
}

HBRUSH BrushCache::brush(std::uint32_t rgb) {
  auto found = brushes_.find(rgb);
  if (found == brushes_.end()) {
    found = brushes_.emplace(rgb, ::CreateSolidBrush(colour_ref(rgb))).first;
  }
  return found->second;
}

std::optional<Control> control_of(const FormState& state, HWND window) {
  if (!window) return std::nullopt;
  for (std::size_t i = 0; i < state.windows.size(); ++i) {
    if (state.windows[i] == window) return static_cast<Control>(i);
  }
  for (const auto& desc : state.desc.controls) {
    if (desc.kind != ControlKind::ComboBox) continue;
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    if (::GetComboBoxInfo(window_of(state, desc.id), &info) &&
        (info.hwndItem == window || info.hwndList == window)) {
      return desc.id;
    }
  }
  return std::nullopt;
}

std::optional<ControlKind> kind_of(const FormState& state, Control control) {
  if (control == Control::MainForm) return std::nullopt;
  return state.desc.control(control).kind;
}

}  // namespace tav::win32
