#include "volume_state/clock_shift.h"

namespace tav::state {

namespace {

constexpr std::int64_t kQuarterHour = 15 * 60;
constexpr std::size_t kFewestFiles = 20;
constexpr std::int64_t kFarOut = std::int64_t{1} << 40;

}  // namespace

void ClockShiftCount::add(const TimeSample& sample) {
  if (sample.now.size != sample.recorded.size) return;
  ++same_size_;
  // A time far out of any clock's range moved by no shift (and its
  // difference could overflow).
  if (sample.now.written.seconds > kFarOut || sample.now.written.seconds < -kFarOut ||
      sample.recorded.written.seconds > kFarOut || sample.recorded.written.seconds < -kFarOut) {
    ++off_;
    return;
  }
  const std::int64_t moved = sample.now.written.seconds - sample.recorded.written.seconds;
  const std::int64_t quarter = (moved + (moved < 0 ? -kQuarterHour : kQuarterHour) / 2) / kQuarterHour;
  if (quarter != 0 && same_time(moved, quarter * kQuarterHour)) {
    ++quarters_[quarter];
  } else {
    ++off_;
  }
}

std::int64_t ClockShiftCount::shift() const {
  for (const auto& [quarter, count] : quarters_) {
    if (count >= kFewestFiles && count * 10 >= same_size_ * 9) return quarter * kQuarterHour;
  }
  return 0;
}

}  // namespace tav::state
