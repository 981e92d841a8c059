// The form's figures at the screen's scale: every figure of a form
// description is given at 96 DPI, and a window layer that draws at another
// DPI scales each of them by this one rule.
#pragma once

#include "window/form.h"

namespace tav {

// The DPI the form's figures are given at.
inline constexpr int kDesignDpi = 96;

// Pixels at 96 DPI as pixels at dpi: pixels × dpi / 96 to the nearest
// whole pixel, halves away from zero.
int scale_pixels(int pixels, int dpi);

struct PixelRect {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const PixelRect&) const = default;
};

// A control's rectangle at dpi. Its edges are scaled, not its size, so
// that controls that touch at 96 DPI touch at every scale.
PixelRect scaled_rect(const ControlDesc& desc, int dpi);

}  // namespace tav
