// What the records on the drive protect: a destination file is deleted or
// replaced only when a record says a run left it exactly so (the pair's own
// record, or, for a file the pair's record does not know, another pair's
// record of the drive's side), and a destination folder removed only when a
// record knew it there. On a drive that holds records, a file no record
// knows is work made since. The pair's record holds both sides, so this
// holds in either direction; other pairs' records speak of the drive alone.
// A drive with no record at all protects nothing.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "platform/folder_reading.h"
#include "volume_state/pair.h"
#include "volume_state/run_record.h"

namespace tav::state {

enum class Unrecorded {
  MadeSince,      // no record knows it: made after the last run
  ChangedSince,   // not the version the last run left
  ChangedOnBoth,  // and the source's file changed since too
};

class RecordProtection {
 public:
  RecordProtection(const RunRecord* own, const std::vector<RunRecord>& others, const Roots& roots)
      : own_(own), others_(roots.to_drive() ? &others : nullptr), roots_(roots) {}

  // Whether any record speaks of this destination.
  bool protects() const { return own_ || (others_ && !others_->empty()); }

  // Why the destination's file at rel (relative to both roots), holding
  // there, may not be deleted or replaced by the source's version (none for
  // a deletion); none when a record says a run left it so.
  std::optional<Unrecorded> file(std::string_view rel, const FileVersion& there,
                                 const std::optional<FileVersion>& source) const;
  // Why the destination's folder at rel may not be removed.
  std::optional<Unrecorded> folder(std::string_view rel) const;

 private:
  const std::optional<FileVersion>& destination_side(const RecordedSides& entry) const {
    return roots_.destination(entry.folder_side, entry.drive_side);
  }
  // Another pair's record that says the drive holds this entry so.
  bool another_left(std::string_view rel, const std::optional<FileVersion>& there) const;

  const RunRecord* own_;
  const std::vector<RunRecord>* others_;
  const Roots& roots_;
};

}  // namespace tav::state
