#include "platform/local_time.h"

namespace tav {

namespace {

// The number in decimal, two digits at least; written by hand, as the scan
// writes one date for every file it lists.
void append_number(std::string& text, int number) {
  if (number < 0) {
    text += '-';
    number = -number;
  }
  char digits[12];
  int count = 0;
  do {
    digits[count++] = static_cast<char>('0' + number % 10);
    number /= 10;
  } while (number > 0);
  if (count < 2) digits[count++] = '0';
  while (count > 0) text += digits[--count];
}

std::string three_numbers(int first, char separator, int second, int third) {
  std::string text;
  text.reserve(10);
  append_number(text, first);
  text += separator;
  append_number(text, second);
  text += separator;
  append_number(text, third);
  return text;
}

}  // namespace

std::string date_text(const LocalStamp& at) { return three_numbers(at.year, '/', at.month, at.day); }

std::string time_text(const LocalStamp& at) {
  return three_numbers(at.hour, ':', at.minute, at.second);
}

}  // namespace tav
