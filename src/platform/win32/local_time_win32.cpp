#include "platform/local_time.h"
#include "platform/win32/file_time.h"

#include <windows.h>

#include <cstdint>

namespace tav {

LocalStamp win32::local_stamp_of(const FILETIME& utc) {
  FILETIME local_file_time{};
  SYSTEMTIME local{};
  ::FileTimeToLocalFileTime(&utc, &local_file_time);
  ::FileTimeToSystemTime(&local_file_time, &local);
  return {local.wYear, local.wMonth, local.wDay, local.wHour, local.wMinute, local.wSecond};
}

// Through the system's file-time conversion: the C library's own local time
// reads the TZ variable in a format of its own and ignores the system's zone.
LocalStamp local_stamp(std::time_t when) { return win32::local_stamp_of(win32::file_time_of(when)); }

}  // namespace tav
