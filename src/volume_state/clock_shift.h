// A side whose clock moved since the last run: FAT keeps local time, so
// after a change of daylight saving or time zone, or on a stick written by a
// device with another clock, every file there reads the same whole number of
// quarter hours away from what the record says. Such a shift is no edit.
#pragma once

#include <cstdint>
#include <cstddef>
#include <map>

#include "platform/folder_reading.h"

namespace tav::state {

// What the record says of one file of a side, and what the side holds now.
struct TimeSample {
  FileVersion recorded, now;
};

// A side's files counted as they come against what the record says of them.
class ClockShiftCount {
 public:
  void add(const TimeSample& sample);
  // Whether the shift is 0 however the files still to come read: more than
  // one in ten of the files whose size is unchanged, even were they all to
  // come so, read no shift. Stays true once true.
  bool none_possible(std::size_t still_to_come) const {
    return off_ * 10 > same_size_ + still_to_come;
  }
  // The side's clock moved by this many seconds (a non-zero multiple of 15
  // minutes) when at least 20 of the files the record knows, and at least
  // nine in ten of those whose size is unchanged, read that far (within 2 s)
  // from the record's time; 0 otherwise.
  std::int64_t shift() const;

 private:
  std::map<std::int64_t, std::size_t> quarters_;  // by the shift in quarter hours
  std::size_t same_size_ = 0;
  std::size_t off_ = 0;  // of those, the files that read no shift
};

}  // namespace tav::state
