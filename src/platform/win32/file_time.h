// File times as the system keeps them (FILETIME: 100 ns since 1601-01-01,
// UTC) in every form the program needs: the write time of a listing, the
// local time of a stamp, and whether a found entry is a link.
#pragma once

#include <windows.h>

#include <cstdint>
#include <ctime>

#include "platform/folder_reading.h"
#include "platform/local_time.h"

namespace tav::win32 {

inline constexpr std::uint64_t kTicksPerSecond = 10'000'000;
inline constexpr std::int64_t kSecondsFrom1601To1970 = 11'644'473'600;

inline std::uint64_t ticks_of(const FILETIME& time) {
  return (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}

inline FILETIME file_time_of_ticks(std::uint64_t ticks) {
  return {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

inline WriteTime write_time_of(const FILETIME& time) {
  const std::uint64_t ticks = ticks_of(time);
  return {static_cast<std::int64_t>(ticks / kTicksPerSecond) - kSecondsFrom1601To1970,
          static_cast<std::uint32_t>(ticks % kTicksPerSecond) * 100};
}

inline FILETIME file_time_of(std::time_t unix_seconds) {
  return file_time_of_ticks(
      static_cast<std::uint64_t>(unix_seconds + kSecondsFrom1601To1970) * kTicksPerSecond);
}

// Through the system's conversion, which applies today's offset as every
// Windows program sees it.
LocalStamp local_stamp_of(const FILETIME& utc);

// Whether a found entry is a link: a reparse point whose tag makes it a
// symbolic link or a junction, or one that carries no tag at all (no real
// reparse point has tag 0; Wine shows a Unix link so). Other reparse points
// (placeholders of files kept elsewhere, deduplicated or compressed files)
// are ordinary entries.
inline bool is_link(const WIN32_FIND_DATAW& found) {
  return (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
         (found.dwReserved0 == IO_REPARSE_TAG_SYMLINK ||
          found.dwReserved0 == IO_REPARSE_TAG_MOUNT_POINT || found.dwReserved0 == 0);
}

}  // namespace tav::win32
