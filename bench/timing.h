// The benchmarks' clock: seconds since a start, and the median of runs.
#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

namespace tav::bench {

using Clock = std::chrono::steady_clock;

inline double seconds_since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

inline double median(std::vector<double> runs) {
  std::sort(runs.begin(), runs.end());
  return runs[runs.size() / 2];
}

}  // namespace tav::bench
