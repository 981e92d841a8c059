#include "scan/time_key.h"

namespace tav {

double time_key(const LocalStamp& at) {
  return static_cast<double>(at.year) * 1000000000 + at.month * 10000000.0 + at.day * 100000.0 +
         at.hour * 3600.0 + at.minute * 60.0 + at.second;
}

}  // namespace tav
