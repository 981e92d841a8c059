// A moved clock counted as the files come: the count gives up early only
// where the whole count finds no shift.
#include "volume_state/clock_shift.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace tav::state {
namespace {

constexpr std::int64_t kHour = 3600;

// moved files read an hour later than recorded, then still files read the
// recorded time, then resized ones changed size.
std::vector<TimeSample> samples(int moved, int still, int resized) {
  std::vector<TimeSample> all;
  for (int i = 0; i < moved + still + resized; ++i) {
    const FileVersion recorded{{1'700'000'000 + i, 0}, 10};
    FileVersion now = recorded;
    if (i < moved) now.written.seconds += kHour;
    if (i >= moved + still) now.size = 11;
    all.push_back({recorded, now});
  }
  return all;
}

std::int64_t shift_of_all(const std::vector<TimeSample>& all) {
  ClockShiftCount count;
  for (const TimeSample& sample : all) count.add(sample);
  return count.shift();
}

TEST(ClockShiftCount, GivesUpEarlyOnlyWhereTheWholeCountFindsNone) {
  struct Case {
    int moved, still, resized;
    std::int64_t shift;
  };
  for (const Case c : {Case{100, 0, 0, kHour}, Case{90, 10, 50, kHour}, Case{89, 11, 0, 0},
                       Case{0, 100, 0, 0}, Case{19, 0, 0, 0}}) {
    for (const bool still_first : {false, true}) {
      auto all = samples(c.moved, c.still, c.resized);
      if (still_first) std::rotate(all.begin(), all.begin() + c.moved, all.end());
      EXPECT_EQ(shift_of_all(all), c.shift) << c.moved << " " << c.still;
      ClockShiftCount count;
      std::size_t given_up_after = 0;  // files
      for (std::size_t i = 0; i < all.size(); ++i) {
        count.add(all[i]);
        if (given_up_after == 0 && count.none_possible(all.size() - i - 1)) given_up_after = i + 1;
      }
      EXPECT_EQ(count.shift(), c.shift);
      if (c.shift != 0) {
        EXPECT_EQ(given_up_after, 0u) << c.moved << " " << c.still;
      }
      // A side whose clock stood still is given up after a tenth of its files.
      if (c.moved == 0) {
        EXPECT_EQ(given_up_after, 11u);
      }
    }
  }
}

}  // namespace
}  // namespace tav::state
