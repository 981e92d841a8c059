#include "volume_state/clock_shift.h"

#include <map>

namespace tav::state {

namespace {

constexpr std::int64_t kQuarterHour = 15 * 60;
constexpr std::size_t kFewestFiles = 20;
constexpr std::int64_t kFarOut = std::int64_t{1} << 40;

}  // namespace

std::int64_t clock_shift(const std::vector<TimeSample>& samples) {
  std::map<std::int64_t, std::size_t> quarters;  // by the shift in quarter hours
  std::size_t same_size = 0;
  for (const TimeSample& sample : samples) {
    if (sample.now.size != sample.recorded.size) continue;
    ++same_size;
    // A time far out of any clock's range moved by no shift (and its
    // difference could overflow).
    if (sample.now.written.seconds > kFarOut || sample.now.written.seconds < -kFarOut ||
        sample.recorded.written.seconds > kFarOut || sample.recorded.written.seconds < -kFarOut) {
      continue;
    }
    const std::int64_t moved = sample.now.written.seconds - sample.recorded.written.seconds;
    const std::int64_t quarter = (moved + (moved < 0 ? -kQuarterHour : kQuarterHour) / 2) / kQuarterHour;
    if (quarter != 0 && same_time(moved, quarter * kQuarterHour)) {
      ++quarters[quarter];
    }
  }
  for (const auto& [quarter, count] : quarters) {
    if (count >= kFewestFiles && count * 10 >= same_size * 9) return quarter * kQuarterHour;
  }
  return 0;
}

}  // namespace tav::state
