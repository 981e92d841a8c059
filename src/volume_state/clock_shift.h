// A side whose clock moved since the last run: FAT keeps local time, so
// after a change of daylight saving or time zone, or on a stick written by a
// device with another clock, every file there reads the same whole number of
// quarter hours away from what the record says. Such a shift is no edit.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/folder_reading.h"

namespace tav::state {

// What the record says of one file of a side, and what the side holds now.
struct TimeSample {
  FileVersion recorded, now;
};

// The side's clock moved by this many seconds (a non-zero multiple of 15
// minutes) when at least 20 of the files the record knows, and at least
// nine in ten of those whose size is unchanged, read that far (within 2 s)
// from the record's time; 0 otherwise.
std::int64_t clock_shift(const std::vector<TimeSample>& samples);

}  // namespace tav::state
