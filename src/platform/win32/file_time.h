// A file time (UTC) as local time, through the system's conversion, which
// applies today's offset as every Windows program sees it.
#pragma once

#include <windows.h>

#include "platform/local_time.h"

namespace tav::win32 {

LocalStamp local_stamp_of(const FILETIME& utc);

}  // namespace tav::win32
