// The composed form through the system's NormalizeString (normaliz.dll).
#include <windows.h>

#include "platform/unicode_form.h"
#include "platform/win32/wide.h"

namespace tav::sys {

std::optional<std::string> composed_form(std::string_view name) {
  const std::wstring wide = win32::widen(name);
  if (wide.empty()) return std::nullopt;
  const int size = static_cast<int>(wide.size());
  if (::IsNormalizedString(NormalizationC, wide.data(), size)) return std::nullopt;
  // The estimate is a bound for the first try; the system says when it is
  // too small and how much it needs.
  int capacity = ::NormalizeString(NormalizationC, wide.data(), size, nullptr, 0);
  for (int tries = 0; capacity > 0 && tries < 4; ++tries) {
    std::wstring composed(static_cast<std::size_t>(capacity), L'\0');
    const int length = ::NormalizeString(NormalizationC, wide.data(), size, composed.data(), capacity);
    if (length > 0) {
      composed.resize(static_cast<std::size_t>(length));
      if (composed == wide) return std::nullopt;
      return win32::narrow(composed);
    }
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) return std::nullopt;
    capacity = -length;
  }
  return std::nullopt;
}

}  // namespace tav::sys
