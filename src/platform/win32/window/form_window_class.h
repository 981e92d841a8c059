// The window class of the form and its window procedure.
#pragma once

#include <windows.h>

namespace tav::win32 {

inline constexpr wchar_t kFormClassName[] = L"TavrelonForm";
// The resource number of the program's icon (tavrelon.rc).
inline constexpr int kFormIconId = 1;

// The window procedure of the form. Its FormState comes with WM_NCCREATE
// (the creation parameter) and is kept in the window's user data.
LRESULT CALLBACK form_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

}  // namespace tav::win32
