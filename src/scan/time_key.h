// The key the scan compares last-write times by.
#pragma once

#include "platform/local_time.h"

namespace tav {

// year×1000000000 + month×10000000 + day×100000 + hour×3600 + minute×60 +
// second of a local time. A day adds more than a day's seconds, so keys
// order instants as time does; a margin on the key is seconds only within
// one day.
double time_key(const LocalStamp& at);

// A source is newer when its key exceeds the destination's by more than this.
inline constexpr double kUpdateMargin = 3;

}  // namespace tav
