// Code page 932 conversion through the system's own tables. The machine's
// ANSI code page plays no part.
#include <windows.h>

#include "platform/text.h"
#include "platform/win32/wide.h"

namespace tav {

namespace {
constexpr UINT kShiftJis = 932;
}

std::string utf8_to_cp932(std::string_view utf8) {
  // A character beyond the 16-bit plane would become two "?", one per half.
  std::string plane0;
  plane0.reserve(utf8.size());
  for (std::size_t pos = 0; pos < utf8.size();) {
    const std::size_t start = pos;
    plane0 += next_char(utf8, pos) > 0xFFFF ? std::string_view("?") : utf8.substr(start, pos - start);
  }
  const std::wstring wide = win32::widen(plane0);
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  // No best-fit mapping: a character without its own form becomes "?".
  const DWORD flags = WC_NO_BEST_FIT_CHARS;
  const int length =
      ::WideCharToMultiByte(kShiftJis, flags, wide.data(), size, nullptr, 0, "?", nullptr);
  std::string bytes(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(kShiftJis, flags, wide.data(), size, bytes.data(), length, "?", nullptr);
  return bytes;
}

std::string cp932_to_utf8(std::string_view cp932) {
  if (cp932.empty()) return {};
  const int size = static_cast<int>(cp932.size());
  const int length = ::MultiByteToWideChar(kShiftJis, 0, cp932.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(kShiftJis, 0, cp932.data(), size, wide.data(), length);
  return win32::narrow(wide);
}

}  // namespace tav
