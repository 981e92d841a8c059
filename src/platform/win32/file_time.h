// What the system's file search found: a file time (UTC) as local time,
// through the system's conversion, which applies today's offset as every
// Windows program sees it; and whether an entry is a link.
#pragma once

#include <windows.h>

#include "platform/local_time.h"

namespace tav::win32 {

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
