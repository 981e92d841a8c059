// The form as the layer builds it from its description.
#include <windows.h>

#include <string>
#include <tuple>
#include <vector>

#include "window_fixture.h"

namespace tav::test {
namespace {

using FormBuild = WindowTest;

LONG_PTR style_of(HWND window) { return ::GetWindowLongPtrW(window, GWL_STYLE); }
LONG_PTR ex_style_of(HWND window) { return ::GetWindowLongPtrW(window, GWL_EXSTYLE); }

TEST_F(FormBuild, FrameIsCentredAndCannotBeResizedOrMaximised) {
  open();
  RECT outer{};
  ::GetWindowRect(form(), &outer);
  const int screen_width = ::GetSystemMetrics(SM_CXSCREEN);
  const int screen_height = ::GetSystemMetrics(SM_CYSCREEN);
  EXPECT_EQ(outer.left, screen_width / 2 - 948 / 2);
  EXPECT_EQ(outer.top, screen_height / 2 - 727 / 2);
  EXPECT_EQ(outer.right - outer.left, 948);
  EXPECT_EQ(outer.bottom - outer.top, 727);
  const LONG_PTR style = style_of(form());
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);

  window->set_size(Control::MainForm, 940, 724);
  RECT resized{};
  ::GetWindowRect(form(), &resized);
  EXPECT_EQ(resized.left, outer.left);
  EXPECT_EQ(resized.top, outer.top);
  EXPECT_EQ(resized.right - resized.left, 940);
  EXPECT_EQ(resized.bottom - resized.top, 724);
}

TEST_F(FormBuild, EveryControlSitsAtItsPlaceWithItsDesignText) {
  open();
  for (const ControlDesc& desc : main_form().controls) {
    SCOPED_TRACE(std::string(desc.name));
    const HWND handle = control(desc.id);  // found by class, left, top and width
    ASSERT_NE(handle, nullptr);
    if (desc.kind != ControlKind::ComboBox && desc.kind != ControlKind::ListBox) {
      const RECT rect = rect_in_parent(handle);
      EXPECT_EQ(rect.bottom - rect.top, desc.height);
    }
    EXPECT_EQ(window->get_text(desc.id), desc.design_text);
  }
}

TEST_F(FormBuild, KindsCarryTheirStyles) {
  open();
  EXPECT_TRUE(style_of(control(Control::List1)) & LBS_SORT);
  EXPECT_FALSE(style_of(control(Control::List2)) & LBS_SORT);
  // The vertical scroll bar shows once the lines do not fit.
  const std::vector<std::string> lines(60, "line");
  for (const Control list : {Control::List1, Control::List2}) {
    window->list_fill(list, lines);
    EXPECT_TRUE(style_of(control(list)) & LBS_NOTIFY);
    EXPECT_TRUE(style_of(control(list)) & WS_VSCROLL);
    EXPECT_TRUE(ex_style_of(control(list)) & WS_EX_CLIENTEDGE);
    EXPECT_FALSE(style_of(control(list)) & LBS_MULTIPLESEL);
  }
  EXPECT_TRUE(style_of(control(Control::Edit1)) & WS_BORDER);
  EXPECT_FALSE(style_of(control(Control::Edit3)) & WS_BORDER);
  EXPECT_TRUE(style_of(control(Control::Text1)) & WS_BORDER);
  EXPECT_FALSE(style_of(control(Control::Text5)) & WS_BORDER);
  EXPECT_EQ(style_of(control(Control::Text5)) & SS_TYPEMASK, SS_CENTER);
  for (const Control edit : {Control::Edit1, Control::Edit3, Control::Edit4}) {
    EXPECT_TRUE(style_of(control(edit)) & ES_AUTOHSCROLL);
    EXPECT_TRUE(style_of(control(edit)) & ES_NOHIDESEL);
    EXPECT_EQ(::SendMessageW(control(edit), EM_GETLIMITTEXT, 0, 0), 32767);
  }
  EXPECT_EQ(style_of(control(Control::Combo1)) & 3, CBS_DROPDOWN);
  EXPECT_EQ(style_of(control(Control::Check1)) & BS_TYPEMASK, BS_AUTOCHECKBOX);
  EXPECT_EQ(style_of(control(Control::Button4)) & BS_TYPEMASK, BS_PUSHBUTTON);
  for (const ControlDesc& desc : main_form().controls) {
    SCOPED_TRACE(std::string(desc.name));
    EXPECT_EQ((style_of(control(desc.id)) & WS_TABSTOP) != 0,
              desc.kind != ControlKind::StaticText);
  }
}

LOGFONTW font_of(HWND window) {
  LOGFONTW font{};
  ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0)), sizeof font,
               &font);
  return font;
}

TEST_F(FormBuild, FontsKeepTheirFaceWhenSizeOrWeightChange) {
  open();
  const LOGFONTW designed = font_of(control(Control::Button2));
  EXPECT_EQ(designed.lfHeight, -30);
  EXPECT_EQ(designed.lfWeight, FW_BOLD);
  EXPECT_EQ(designed.lfCharSet, SHIFTJIS_CHARSET);
  EXPECT_STREQ(designed.lfFaceName, L"ＭＳ ゴシック");

  window->set_font_size(Control::Button2, 18);
  window->set_font_bold(Control::Button2, false);
  const LOGFONTW changed = font_of(control(Control::Button2));
  EXPECT_EQ(changed.lfHeight, -18);
  EXPECT_EQ(changed.lfWeight, FW_NORMAL);
  EXPECT_STREQ(changed.lfFaceName, L"ＭＳ ゴシック");
  EXPECT_STREQ(font_of(control(Control::Button3)).lfFaceName, L"ＭＳ Ｐゴシック");
}

TEST_F(FormBuild, ControlsGetTheirColoursFromTheForm) {
  open();
  const HDC dc = ::CreateCompatibleDC(nullptr);
  const auto colours_for = [&](UINT message, Control id) {
    const auto brush = reinterpret_cast<HBRUSH>(
        ::SendMessageW(form(), message, reinterpret_cast<WPARAM>(dc),
                       reinterpret_cast<LPARAM>(control(id))));
    LOGBRUSH fill{};
    ::GetObjectW(brush, sizeof fill, &fill);
    return std::tuple{::GetTextColor(dc), ::GetBkColor(dc), fill.lbColor};
  };
  EXPECT_EQ(colours_for(WM_CTLCOLORSTATIC, Control::Text1),
            std::tuple(RGB(0xFF, 0xFF, 0x00), RGB(0x00, 0x00, 0x80), RGB(0x00, 0x00, 0x80)));
  EXPECT_EQ(colours_for(WM_CTLCOLOREDIT, Control::Edit3),
            std::tuple(RGB(0xFF, 0xFF, 0xFF), RGB(0x00, 0x00, 0xFF), RGB(0x00, 0x00, 0xFF)));
  EXPECT_EQ(colours_for(WM_CTLCOLORLISTBOX, Control::List2),
            std::tuple(RGB(0x80, 0x00, 0x80), RGB(0xA0, 0xEF, 0xE5), RGB(0xA0, 0xEF, 0xE5)));
  EXPECT_EQ(colours_for(WM_CTLCOLORSTATIC, Control::Check1),
            std::tuple(RGB(0x00, 0xFF, 0x00), RGB(0x00, 0x00, 0x80), RGB(0x00, 0x00, 0x80)));
  // The combo box's edit field answers for the combo box.
  COMBOBOXINFO combo{};
  combo.cbSize = sizeof combo;
  ASSERT_TRUE(::GetComboBoxInfo(control(Control::Combo1), &combo));
  const auto brush = reinterpret_cast<HBRUSH>(
      ::SendMessageW(form(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(combo.hwndItem)));
  EXPECT_NE(brush, nullptr);
  EXPECT_EQ(::GetBkColor(dc), RGB(0xFF, 0xFF, 0xFF));
  ::DeleteDC(dc);
}

// The scale changed (the form moved to a monitor of another scale): the
// system suggests a frame and the form takes its DPI.
TEST_F(FormBuild, ANewScaleMovesTheFrameEveryControlAndEveryFontAndBack) {
  open();
  window->set_size(Control::MainForm, 940, 724);
  RECT outer{};
  ::GetWindowRect(form(), &outer);
  for (const int new_dpi : {144, 120, 96}) {
    SCOPED_TRACE(new_dpi);
    RECT suggested{outer.left + 10, outer.top + 20, outer.left + 10 + scale_pixels(940, new_dpi),
                   outer.top + 20 + scale_pixels(724, new_dpi)};
    ::SendMessageW(form(), WM_DPICHANGED, MAKEWPARAM(new_dpi, new_dpi),
                   reinterpret_cast<LPARAM>(&suggested));
    dpi = new_dpi;
    RECT now{};
    ::GetWindowRect(form(), &now);
    EXPECT_TRUE(::EqualRect(&now, &suggested));
    for (const ControlDesc& desc : main_form().controls) {
      SCOPED_TRACE(std::string(desc.name));
      const HWND handle = control(desc.id);  // found at its place at the new scale
      ASSERT_NE(handle, nullptr);
      if (desc.kind != ControlKind::ComboBox && desc.kind != ControlKind::ListBox) {
        const RECT rect = rect_in_parent(handle);
        EXPECT_EQ(rect.bottom - rect.top, scaled_rect(desc, dpi).height);
      }
      EXPECT_EQ(font_of(handle).lfHeight, -scale_pixels(desc.char_height, dpi));
    }
  }
  // What the main flow sets later is given at 96 DPI, and taken at the scale.
  RECT large{0, 0, 1410, 1086};
  ::SendMessageW(form(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&large));
  dpi = 144;
  window->set_font_size(Control::Button2, 18);
  EXPECT_EQ(font_of(control(Control::Button2)).lfHeight, -27);
  window->set_size(Control::MainForm, 948, 727);
  RECT resized{};
  ::GetWindowRect(form(), &resized);
  EXPECT_EQ(resized.right - resized.left, 1422);
  EXPECT_EQ(resized.bottom - resized.top, 1091);
}

TEST_F(FormBuild, TextsRoundTripThroughTheWideApi) {
  open();
  const std::string text = "C:\\作業\u3000フォルダ\\ソ表,𠮷";
  window->set_text(Control::Edit1, text);
  EXPECT_EQ(window->get_text(Control::Edit1), text);
  window->set_text(Control::Combo1, "E: USB・FD等交換可能ディスク");
  EXPECT_EQ(window->get_text(Control::Combo1), "E: USB・FD等交換可能ディスク");
  window->set_enabled(Control::Check1, false);
  EXPECT_FALSE(::IsWindowEnabled(control(Control::Check1)));
}

}  // namespace
}  // namespace tav::test
