// Wall-clock local time, as the system converts it (with today's offset on
// Windows, as its file-time conversion does), and its texts.
#pragma once

#include <ctime>
#include <string>

namespace tav {

struct LocalStamp {
  int year, month, day, hour, minute, second;
};

LocalStamp local_stamp(std::time_t when);

// "YYYY/MM/DD" and "HH:MM:SS": each number in two digits at least.
std::string date_text(const LocalStamp& at);
std::string time_text(const LocalStamp& at);

}  // namespace tav
