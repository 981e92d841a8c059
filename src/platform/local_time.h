// Wall-clock local time, as the system converts it (with today's offset on
// Windows, as its file-time conversion does).
#pragma once

#include <ctime>

namespace tav {

struct LocalStamp {
  int year, month, day, hour, minute, second;
};

LocalStamp local_stamp(std::time_t when);

}  // namespace tav
