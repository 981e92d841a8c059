// The item operations of list boxes and combo boxes.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "window/form.h"

namespace tav::win32 {

// kind is ListBox or ComboBox.
void list_clear(HWND list, ControlKind kind);
void list_add(HWND list, ControlKind kind, std::string_view text);
// Replaces the content with redrawing suspended and storage reserved. The
// lines of a sorted list box are added in the list box's own order, so that
// each one lands at the end and the fill stays quick.
void list_fill(HWND list, ControlKind kind, const std::vector<std::string>& lines);
// Empty outside the list.
std::string list_item_text(HWND list, ControlKind kind, int row);
// -1 when nothing is selected.
int list_selected_index(HWND list, ControlKind kind);

// The order of a sorted list box: its locale, ignoring case.
void sort_like_list_box(HWND list, std::vector<std::wstring>& lines);

}  // namespace tav::win32
