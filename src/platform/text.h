// Text helpers. Text inside the program is UTF-8; a "character" is one code
// point. Code page 932 appears only where a rule counts bytes (widths and
// limits are stated in Shift-JIS bytes), and where bytes leave the program.
#pragma once

#include <cstddef>
#include <functional>
#include <set>
#include <string>
#include <string_view>

namespace tav {

// The separator of paths on this platform ("\" on Windows, "/" elsewhere).
#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// True when path lies inside folder: it begins with the folder and a separator.
inline bool lies_below(std::string_view path, std::string_view folder) {
  return path.size() > folder.size() && path.starts_with(folder) &&
         path[folder.size()] == kPathSeparator;
}

// The folder that holds path: all of it before its last separator (empty
// when it has none).
inline std::string_view folder_of(std::string_view path) {
  const auto cut = path.rfind(kPathSeparator);
  return cut == std::string_view::npos ? std::string_view() : path.substr(0, cut);
}

// Folders looked up by any text of a path.
using FolderSet = std::set<std::string, std::less<>>;

// True when path is one of the folders or lies inside one of them.
inline bool lies_in_one_of(std::string_view path, const FolderSet& folders) {
  for (; !folders.empty() && !path.empty(); path = folder_of(path)) {
    if (folders.contains(path)) return true;
  }
  return false;
}

// Decodes the code point that starts at pos and advances pos past it. A byte
// that does not start a valid sequence is taken as one character on its own.
char32_t next_char(std::string_view text, std::size_t& pos);

// Number of characters (code points) in text.
std::size_t char_count(std::string_view text);

// The text without its first n characters (empty if it has fewer).
std::string_view drop_chars(std::string_view text, std::size_t n);

// ASCII space or ideographic space U+3000.
bool is_blank(char32_t c);

// text without blanks at either end.
std::string_view trim_blanks(std::string_view text);

// Whether the text is well-formed UTF-8: no stray byte, no overlong form, no
// surrogate, nothing beyond U+10FFFF.
bool is_valid_utf8(std::string_view text);

// Units the text takes in UTF-16: two for a character beyond U+FFFF.
std::size_t utf16_length(std::string_view text);

// Bytes the text takes in code page 932: ASCII and half-width katakana one
// byte each, every other character two.
std::size_t cp932_length(std::string_view text);

// The value of the decimal digits at the start of text, after leading
// spaces; 0 when there are none.
long numeric_value(std::string_view text);

// Conversion for bytes that leave the program. A character that code page 932
// cannot represent becomes "?"; bytes that are not valid code page 932 are
// decoded as U+FFFD.
std::string utf8_to_cp932(std::string_view utf8);
std::string cp932_to_utf8(std::string_view cp932);

}  // namespace tav
