#include "platform/local_time.h"

namespace tav {

LocalStamp local_stamp(std::time_t when) {
  std::tm local{};
  localtime_r(&when, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
          local.tm_hour,        local.tm_min,     local.tm_sec};
}

}  // namespace tav
