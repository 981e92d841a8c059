// Code page 932 conversion through the C library's iconv.
#include <iconv.h>

#include <cerrno>

#include "platform/text.h"

namespace tav {

namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(::iconv_open(to, from)) {}
  ~Converter() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) ::iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts text; a sequence that cannot be converted is replaced by
  // `replacement` and skipped by `skip` bytes (at least one).
  template <typename SkipFn>
  std::string convert(std::string_view text, std::string_view replacement, SkipFn skip) {
    std::string out;
    if (cd_ == reinterpret_cast<iconv_t>(-1)) return std::string(text);
    out.reserve(text.size() * 2);
    char* in = const_cast<char*>(text.data());
    std::size_t in_left = text.size();
    char buffer[256];
    while (in_left > 0) {
      char* dest = buffer;
      std::size_t dest_left = sizeof buffer;
      const std::size_t done = ::iconv(cd_, &in, &in_left, &dest, &dest_left);
      out.append(buffer, static_cast<std::size_t>(dest - buffer));
      if (done != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
      // An invalid or unrepresentable sequence (or a cut one at the end).
      out += replacement;
      const std::size_t n = std::min(in_left, skip(std::string_view(in, in_left)));
      in += n;
      in_left -= n;
      ::iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
  }

 private:
  iconv_t cd_;
};

std::size_t utf8_sequence_length(std::string_view rest) {
  std::size_t pos = 0;
  next_char(rest, pos);
  return pos;
}

std::size_t cp932_sequence_length(std::string_view rest) {
  const auto lead = static_cast<unsigned char>(rest[0]);
  const bool double_byte = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xFC);
  return double_byte && rest.size() > 1 ? 2 : 1;
}

}  // namespace

std::string utf8_to_cp932(std::string_view utf8) {
  Converter converter("CP932", "UTF-8");
  return converter.convert(utf8, "?", utf8_sequence_length);
}

std::string cp932_to_utf8(std::string_view cp932) {
  Converter converter("UTF-8", "CP932");
  return converter.convert(cp932, "\uFFFD", cp932_sequence_length);
}

}  // namespace tav
