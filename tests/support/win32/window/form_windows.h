// Finding the form's windows from outside the window layer: the main window
// by its title, each control by its window class and its place on the form.
// Used by the window layer's tests and by the automation driver, which runs
// in a process of its own.
#pragma once

#include <windows.h>

#include <string_view>

#include "window/form.h"
#include "window/form_scale.h"

namespace tav::test {

// The visible top-level window with this title, or null.
HWND find_form_window(std::wstring_view title);

// The control of the form's description by name, ignoring case; null if the
// form has no such control.
const ControlDesc* control_named(const FormDesc& form, std::string_view name);

// The window class a control of this kind is made of ("Button", "ListBox"...).
std::wstring_view window_class_of(ControlKind kind);

// The child of the form of the control's class at the control's left, top and
// width at the form's DPI (the height of a combo box is its closed height),
// or null.
HWND find_control_window(HWND form, const ControlDesc& desc, int dpi = kDesignDpi);

// The DPI the form is drawn at, as its controls' places tell it: the first
// of the scales Windows offers (100 % to 300 %) at which the form's first
// control sits; 96 when it sits at none. (Wine answers another process's
// GetDpiForWindow with a DPI that need not be the window's own.)
int form_dpi(HWND form, const FormDesc& desc);

// A child's rectangle in its parent's client coordinates.
RECT rect_in_parent(HWND child);

}  // namespace tav::test
