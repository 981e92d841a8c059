// The composed form through utf8proc: decomposed and composed again in a
// buffer of code points, and made into text only where it changed (a scan
// asks of every name beyond U+02FF, and almost all are composed already).
#include <utf8proc.h>

#include <array>
#include <vector>

#include "platform/unicode_form.h"

namespace tav::sys {

namespace {

constexpr auto kOptions = static_cast<utf8proc_option_t>(UTF8PROC_STABLE | UTF8PROC_COMPOSE);

// The name's code points decomposed into points; their count, or a
// negative utf8proc error.
utf8proc_ssize_t decompose(std::string_view name, std::vector<utf8proc_int32_t>& points) {
  const auto* bytes = reinterpret_cast<const utf8proc_uint8_t*>(name.data());
  const auto size = static_cast<utf8proc_ssize_t>(name.size());
  utf8proc_ssize_t count = ::utf8proc_decompose(bytes, size, points.data(),
                                                static_cast<utf8proc_ssize_t>(points.size()), kOptions);
  if (count > static_cast<utf8proc_ssize_t>(points.size())) {
    points.resize(static_cast<std::size_t>(count));
    count = ::utf8proc_decompose(bytes, size, points.data(), count, kOptions);
  }
  return count;
}

}  // namespace

std::optional<std::string> composed_form(std::string_view name) {
  thread_local std::vector<utf8proc_int32_t> points(256);
  thread_local std::string composed;
  utf8proc_ssize_t count = decompose(name, points);
  if (count < 0) return std::nullopt;
  count = ::utf8proc_normalize_utf32(points.data(), count, kOptions);
  if (count < 0) return std::nullopt;
  composed.clear();
  std::array<utf8proc_uint8_t, 4> encoded{};
  for (utf8proc_ssize_t i = 0; i < count; ++i) {
    const utf8proc_ssize_t length =
        ::utf8proc_encode_char(points[static_cast<std::size_t>(i)], encoded.data());
    composed.append(reinterpret_cast<const char*>(encoded.data()), static_cast<std::size_t>(length));
  }
  if (composed == name) return std::nullopt;
  return composed;
}

}  // namespace tav::sys
