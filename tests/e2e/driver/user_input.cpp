#include "user_input.h"

#include "support/win32/window/key_strokes.h"

#include <algorithm>
#include <array>
#include <string>
#include <utility>
#include <vector>

namespace tav::driver {

namespace {

constexpr std::array<std::pair<std::string_view, WORD>, 4> kKeys{{
    {"TAB", VK_TAB}, {"ENTER", VK_RETURN}, {"SPACE", VK_SPACE}, {"ESC", VK_ESCAPE}}};
constexpr std::string_view kShift = "SHIFT+";

}  // namespace

void click(HWND button) { ::PostMessageW(button, BM_CLICK, 0, 0); }

bool double_click_row(HWND list, int row) {
  RECT item{};
  if (::SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(&item)) == LB_ERR ||
      row >= ::SendMessageW(list, LB_GETCOUNT, 0, 0)) {
    return false;
  }
  const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
  ::PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  ::PostMessageW(list, WM_LBUTTONUP, 0, at);
  ::PostMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
  ::PostMessageW(list, WM_LBUTTONUP, 0, at);
  return true;
}

bool press_key(HWND form, std::string_view key) {
  const bool shifted = key.starts_with(kShift);
  if (shifted) key.remove_prefix(kShift.size());
  const auto found = std::ranges::find(kKeys, key, &std::pair<std::string_view, WORD>::first);
  if (found == kKeys.end()) return false;
  ::SetForegroundWindow(form);
  std::vector<INPUT> strokes;
  if (shifted) strokes.push_back(test::key_stroke(VK_SHIFT, false));
  strokes.push_back(test::key_stroke(found->second, false));
  strokes.push_back(test::key_stroke(found->second, true));
  if (shifted) strokes.push_back(test::key_stroke(VK_SHIFT, true));
  test::send_strokes(strokes);
  return true;
}

}  // namespace tav::driver
