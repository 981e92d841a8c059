#include "support/win32/window/form_windows.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>
#include <utility>

namespace tav::test {

namespace {

constexpr std::array<std::pair<ControlKind, std::wstring_view>, 6> kClasses{{
    {ControlKind::PushButton, L"Button"},
    {ControlKind::CheckBox, L"Button"},
    {ControlKind::Edit, L"Edit"},
    {ControlKind::StaticText, L"Static"},
    {ControlKind::ListBox, L"ListBox"},
    {ControlKind::ComboBox, L"ComboBox"},
}};

std::wstring class_name(HWND window) {
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  return name;
}

struct Search {
  HWND form;
  PixelRect place;
  ControlKind kind;
  HWND found;
};

BOOL CALLBACK match_child(HWND child, LPARAM data) {
  auto& search = *reinterpret_cast<Search*>(data);
  if (::GetParent(child) != search.form) return TRUE;
  if (_wcsicmp(class_name(child).c_str(), window_class_of(search.kind).data()) != 0) {
    return TRUE;
  }
  const RECT rect = rect_in_parent(child);
  if (rect.left != search.place.left || rect.top != search.place.top ||
      rect.right - rect.left != search.place.width) {
    return TRUE;
  }
  search.found = child;
  return FALSE;
}

}  // namespace

HWND find_form_window(std::wstring_view title) {
  const HWND form = ::FindWindowW(nullptr, std::wstring(title).c_str());
  return form && ::IsWindowVisible(form) ? form : nullptr;
}

const ControlDesc* control_named(const FormDesc& form, std::string_view name) {
  for (const ControlDesc& desc : form.controls) {
    if (std::ranges::equal(desc.name, name, [](unsigned char a, unsigned char b) {
          return std::toupper(a) == std::toupper(b);
        })) {
      return &desc;
    }
  }
  return nullptr;
}

std::wstring_view window_class_of(ControlKind kind) {
  return std::ranges::find(kClasses, kind, &std::pair<ControlKind, std::wstring_view>::first)
      ->second;
}

HWND find_control_window(HWND form, const ControlDesc& desc, int dpi) {
  Search search{form, scaled_rect(desc, dpi), desc.kind, nullptr};
  ::EnumChildWindows(form, match_child, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

int form_dpi(HWND form, const FormDesc& desc) {
  for (const int dpi : {96, 120, 144, 168, 192, 240, 288}) {
    if (find_control_window(form, desc.controls.front(), dpi)) return dpi;
  }
  return kDesignDpi;
}

RECT rect_in_parent(HWND child) {
  RECT rect{};
  ::GetWindowRect(child, &rect);
  ::MapWindowPoints(HWND_DESKTOP, ::GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

}  // namespace tav::test
