// What the record of a pair's last run protects: a destination file is
// deleted or replaced only when it is exactly as the last run left it, and
// a destination folder removed only when the last run knew it there. The
// record holds both sides, so this holds in either direction.
#pragma once

#include <optional>
#include <string_view>

#include "platform/folder_reading.h"
#include "volume_state/pair.h"
#include "volume_state/run_record.h"

namespace tav::state {

enum class Unrecorded {
  MadeSince,      // not in the record: made after the last run
  ChangedSince,   // not the version the last run left
  ChangedOnBoth,  // and the source's file changed since too
};

class RecordProtection {
 public:
  RecordProtection(const RunRecord& record, const Roots& roots) : record_(record), roots_(roots) {}

  // Why the destination's file at rel (relative to both roots), holding
  // there, may not be deleted or replaced by the source's version (none for
  // a deletion); none when it is as the last run left it.
  std::optional<Unrecorded> file(std::string_view rel, const FileVersion& there,
                                 const std::optional<FileVersion>& source) const;
  // Why the destination's folder at rel may not be removed.
  std::optional<Unrecorded> folder(std::string_view rel) const;

 private:
  const std::optional<FileVersion>& destination_side(const RecordedSides& entry) const {
    return roots_.destination(entry.folder_side, entry.drive_side);
  }

  const RunRecord& record_;
  const Roots& roots_;
};

}  // namespace tav::state
