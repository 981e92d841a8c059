#include "scan/time_key.h"

#include "platform/text.h"

namespace tav {

namespace {

// The characters from a 1-based position, as many as given (fewer at the end).
std::string_view part(std::string_view text, std::size_t from, std::size_t count) {
  if (from - 1 >= text.size()) return {};
  return text.substr(from - 1, count);
}

std::string_view last(std::string_view text, std::size_t count) {
  return text.size() > count ? text.substr(text.size() - count) : text;
}

}  // namespace

double time_key(std::string_view date, std::string_view time) {
  const double year = static_cast<double>(numeric_value(part(date, 1, 4)));
  const double month = static_cast<double>(numeric_value(part(date, 6, 2)));
  const double day = static_cast<double>(numeric_value(last(date, 2)));
  const double hour = static_cast<double>(numeric_value(part(time, 1, 2)));
  const double minute = static_cast<double>(numeric_value(part(time, 4, 2)));
  const double second = static_cast<double>(numeric_value(last(time, 2)));
  return year * 1000000000 + month * 10000000 + day * 100000 + hour * 3600 + minute * 60 + second;
}

}  // namespace tav
