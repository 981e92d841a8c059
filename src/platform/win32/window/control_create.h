// Creating the form's window and its controls from the form description.
#pragma once

#include <windows.h>

#include <string>

#include "window/form.h"
#include "platform/win32/window/form_state.h"

namespace tav::win32 {

// Everything CreateWindowExW needs for one control.
struct CreateArgs {
  const wchar_t* window_class;
  std::wstring text;
  DWORD style;
  DWORD ex_style;
  int left, top, width, height;
  int id;
};

// The control's arguments at the form's DPI.
CreateArgs create_args(const ControlDesc& desc, int dpi);

// The form's frame: a caption with system menu and minimise box, no
// maximise box and no sizing border.
inline constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// Registers the form's window class (once per process). False on failure.
bool register_form_class(HINSTANCE instance);

// Creates the form (hidden, centred on the screen) and its controls, each
// with its font, all at the window's DPI; false when a window cannot be
// created.
bool create_form_windows(FormState& state, HINSTANCE instance);

}  // namespace tav::win32
