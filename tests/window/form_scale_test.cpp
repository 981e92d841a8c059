// The form at the screen's scale, as data: the rounding rule, and every
// rectangle and character height of the main form at 96, 120, 144 and 192
// DPI against its 96-DPI table times the scale.
#include "window/form_scale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "app/main_form.h"

namespace tav {
namespace {

constexpr int kScales[] = {96, 120, 144, 192};

TEST(FormScale, AFigureGoesToTheNearestPixelAndAHalfAwayFromZero) {
  struct Case {
    int pixels, dpi, scaled;
  };
  for (const auto [pixels, dpi, scaled] : {
           Case{940, 96, 940}, Case{940, 144, 1410}, Case{724, 144, 1086}, Case{727, 144, 1091},
           Case{727, 120, 909}, Case{14, 120, 18}, Case{12, 120, 15}, Case{147, 120, 184},
           Case{1, 144, 2}, Case{0, 192, 0}, Case{30, 192, 60}, Case{-1, 144, -2},
           Case{-475, 120, -594}}) {
    EXPECT_EQ(scale_pixels(pixels, dpi), scaled) << pixels << " at " << dpi;
  }
}

// The figure at the scale, rounded by the rule: a half goes up.
int times_scale(int pixels, int dpi) {
  return static_cast<int>(std::floor(pixels * (dpi / 96.0) + 0.5));
}

TEST(FormScale, EveryRectangleAndCharacterHeightIsItsTableFigureTimesTheScale) {
  for (const int dpi : kScales) {
    for (const ControlDesc& desc : main_form().controls) {
      SCOPED_TRACE(std::string(desc.name) + " at " + std::to_string(dpi));
      const PixelRect rect = scaled_rect(desc, dpi);
      EXPECT_EQ(rect.left, times_scale(desc.left, dpi));
      EXPECT_EQ(rect.top, times_scale(desc.top, dpi));
      EXPECT_EQ(rect.left + rect.width, times_scale(desc.left + desc.width, dpi));
      EXPECT_EQ(rect.top + rect.height, times_scale(desc.top + desc.height, dpi));
      EXPECT_EQ(scale_pixels(desc.char_height, dpi), times_scale(desc.char_height, dpi));
      if (dpi == 96) {
        EXPECT_EQ(rect, (PixelRect{desc.left, desc.top, desc.width, desc.height}));
      }
    }
    EXPECT_EQ(scale_pixels(main_form().char_height, dpi), times_scale(main_form().char_height, dpi));
  }
  // At 150 %: the drop-out button, and the lower list, whose height of 147
  // pixels is no whole number of pixels times 1.5.
  EXPECT_EQ(scaled_rect(main_form().control(Control::Button4), 144),
            (PixelRect{1200, 972, 168, 36}));
  EXPECT_EQ(scaled_rect(main_form().control(Control::List2), 144),
            (PixelRect{24, 732, 1344, 221}));
}

TEST(FormScale, ControlsThatTouchAtNinetySixDpiTouchAtEveryScale) {
  int touching = 0;
  for (const ControlDesc& a : main_form().controls) {
    for (const ControlDesc& b : main_form().controls) {
      const bool side_by_side = a.left + a.width == b.left;
      const bool one_above = a.top + a.height == b.top;
      if (!side_by_side && !one_above) continue;
      ++touching;
      for (const int dpi : kScales) {
        const PixelRect first = scaled_rect(a, dpi), second = scaled_rect(b, dpi);
        SCOPED_TRACE(std::string(a.name) + " and " + std::string(b.name));
        if (side_by_side) {
          EXPECT_EQ(first.left + first.width, second.left) << dpi;
        }
        if (one_above) {
          EXPECT_EQ(first.top + first.height, second.top) << dpi;
        }
      }
    }
  }
  EXPECT_GE(touching, 5);  // the arrows, the headings over their lists...
}

}  // namespace
}  // namespace tav
