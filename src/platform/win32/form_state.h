// What the pieces of the Win32 window layer share about the one form: its
// windows, fonts and brushes, the event delivery, and an exception caught
// inside a window procedure or hook that waits to be thrown again.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <exception>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "platform/event_delivery.h"
#include "platform/form.h"

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
  int height = 0;  // character height in pixels
  bool bold = false;
  HFONT handle = nullptr;
};

struct FormState {
  FormState(const FormSpec& form, EventProcedures procedures)
      : desc(form), events(form, std::move(procedures)) {}
  FormState(const FormState&) = delete;
  FormState& operator=(const FormState&) = delete;

  const FormSpec& desc;
  EventDelivery events;
  HWND form = nullptr;                          // null once destroyed
  std::array<HWND, kControlCount> windows{};    // by Control; [0] is the form
  std::array<ControlFont, kControlCount> fonts{};
  BrushCache brushes;
  std::exception_ptr deferred;                  // caught in a window procedure or hook
  HWND pressed_button = nullptr;                // Enter or Space held on it
};

inline HWND window_of(const FormState& state, Control control) {
  return state.windows[static_cast<std::size_t>(control)];
}

// The form or control a window belongs to; the edit field and the list of a
// combo box belong to the combo box.
std::optional<Control> control_of(const FormState& state, HWND window);

// The kind of a control; none for the form.
std::optional<ControlKind> kind_of(const FormState& state, Control control);

// Throws, once, what a window procedure or hook caught.
void rethrow_deferred(FormState& state);

// COLORREF of 0xRRGGBB.
constexpr COLORREF colour_ref(std::uint32_t rgb) {
  return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

}  // namespace tav::win32
