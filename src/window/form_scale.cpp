#include "window/form_scale.h"

#include <cstdint>

namespace tav {

int scale_pixels(int pixels, int dpi) {
  const std::int64_t product = std::int64_t{pixels} * dpi;
  const std::int64_t half = kDesignDpi / 2;
  return static_cast<int>(product >= 0 ? (product + half) / kDesignDpi
                                       : -((-product + half) / kDesignDpi));
}

PixelRect scaled_rect(const ControlDesc& desc, int dpi) {
  const int left = scale_pixels(desc.left, dpi);
  const int top = scale_pixels(desc.top, dpi);
  return {left, top, scale_pixels(desc.left + desc.width, dpi) - left,
          scale_pixels(desc.top + desc.height, dpi) - top};
}

}  // namespace tav
