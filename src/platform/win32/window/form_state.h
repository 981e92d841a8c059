// What the pieces of the Win32 window layer share about the one form: its
// windows, fonts and brushes, and the window's event delivery (which also
// keeps what a window procedure or hook caught until it can be thrown again).
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "platform/win32/window/taskbar_button.h"
#include "window/event_delivery.h"
#include "window/form.h"
#include "window/form_scale.h"

namespace tav::win32 {

// One brush per background colour, made on first use.
class BrushCache {
 public:
  BrushCache() = default;
  BrushCache(const BrushCache&) = delete;
  BrushCache& operator=(const BrushCache&) = delete;
  ~BrushCache();
  HBRUSH brush(std::uint32_t rgb);

 private:
  std::map<std::uint32_t, HBRUSH> brushes_;
};

struct ControlFont {
  std::wstring face;
  int height = 0;  // character height in pixels at 96 DPI
  bool bold = false;
  HFONT handle = nullptr;
};

struct FormState {
  FormState(const FormDesc& form, EventDelivery& delivery) : desc(form), events(delivery) {}
  FormState(const FormState&) = delete;
  FormState& operator=(const FormState&) = delete;

  const FormDesc& desc;
  EventDelivery& events;
  HWND form = nullptr;                          // null once destroyed
  std::array<HWND, kControlCount> windows{};    // by Control; [0] is the form
  std::array<ControlFont, kControlCount> fonts{};
  BrushCache brushes;
  HWND pressed_button = nullptr;                // Enter or Space held on it
  int dpi = kDesignDpi;                         // what the form is drawn at
  TaskbarButton taskbar;
};

inline HWND window_of(const FormState& state, Control control) {
  return state.windows[static_cast<std::size_t>(control)];
}

// The form or control a window belongs to; the edit field and the list of a
// combo box belong to the combo box.
std::optional<Control> control_of(const FormState& state, HWND window);

// The kind of a control; none for the form.
std::optional<ControlKind> kind_of(const FormState& state, Control control);

// COLORREF of 0xRRGGBB.
constexpr COLORREF colour_ref(std::uint32_t rgb) {
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

}  // namespace tav::win32
