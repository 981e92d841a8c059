#include "platform/local_time.h"

#include <cstdint>

namespace tav {

namespace {

// Zones change their offset at a quarter hour at the earliest: within one
// quarter hour the offset found for any moment holds for all.
constexpr std::int64_t kOffsetBlock = 15 * 60;
constexpr std::int64_t kSecondsPerDay = 24 * 60 * 60;

std::int64_t floor_div(std::int64_t a, std::int64_t b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

// The offset to local time of the quarter hour that holds when.
long offset_at(std::time_t when) {
  thread_local std::int64_t block = INT64_MIN;
  thread_local long offset = 0;
  const std::int64_t this_block = floor_div(when, kOffsetBlock);
  if (this_block != block) {
    std::tm local{};
    localtime_r(&when, &local);
    block = this_block;
    offset = local.tm_gmtoff;
  }
  return offset;
}

// The civil date of a day count since 1970-01-01 (proleptic Gregorian).
void civil_from_days(std::int64_t days, int& year, int& month, int& day) {
  days += 719468;
  const std::int64_t era = floor_div(days, 146097);
  const std::int64_t day_of_era = days - era * 146097;
  const std::int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const std::int64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const std::int64_t month_index = (5 * day_of_year + 2) / 153;
  day = static_cast<int>(day_of_year - (153 * month_index + 2) / 5 + 1);
  month = static_cast<int>(month_index < 10 ? month_index + 3 : month_index - 9);
  year = static_cast<int>(year_of_era + era * 400 + (month <= 2));
}

}  // namespace

LocalStamp local_stamp(std::time_t when) {
  const std::int64_t local = static_cast<std::int64_t>(when) + offset_at(when);
  const std::int64_t days = floor_div(local, kSecondsPerDay);
  const std::int64_t of_day = local - days * kSecondsPerDay;
  LocalStamp stamp{};
  civil_from_days(days, stamp.year, stamp.month, stamp.day);
  stamp.hour = static_cast<int>(of_day / 3600);
  stamp.minute = static_cast<int>(of_day % 3600 / 60);
  stamp.second = static_cast<int>(of_day % 60);
  return stamp;
}

}  // namespace tav
