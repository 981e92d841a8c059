// The record a completed run leaves: the last state both sides agreed on.
// An entry the run carried out, and one both sides hold alike, takes its
// state now; every other entry (withdrawn by the record, a double-click,
// the check box or the destination's checks, or left by the execution)
// keeps exactly what the previous record said of it, or stays out of the
// record where it said nothing. So work saved on one side since stays
// protected until the user brings it across or deletes it.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/folder_reading.h"
#include "volume_state/run_record.h"

namespace tav::state {

class AgreedRecord {
 public:
  // Names are compared as RecordMaking compares them (composed, and without
  // case where ignores_case: either side looks names up without regard to
  // case); an entry of which one side holds two of one name took no part
  // and keeps what the previous record said. previous: the record the run
  // was checked against, if any.
  AgreedRecord(bool ignores_case, const RunRecord* previous)
      : ignores_case_(ignores_case), previous_(previous) {}

  // What one side held at rel when the trees were read: a file's version,
  // or none for a folder. The first spelling seen is the one recorded: give
  // the source's side first, which the run's renames gave the destination.
  // identity: the file's own number there (ListedEntry::identity).
  void seen(std::string_view rel, bool folder_side, const std::optional<FileVersion>& file,
            std::uint64_t identity = 0);
  // The run carried out its entry at rel: what both sides hold there now
  // (none where neither holds anything).
  void carried_out(std::string_view rel, const std::optional<RecordedSides>& now);

  // volumes: the sides whose files' identities the record keeps.
  RunRecord take(std::string key, RecordVolumes volumes = {});

 private:
  struct Entry {
    std::string path;
    RecordedSides seen;
    bool on_folder_side = false, on_drive_side = false;
    bool twice = false;  // one side holds two entries of this one name
    bool carried = false;
    std::optional<RecordedSides> now;
  };
  Entry& at(std::string_view rel);

  bool ignores_case_;
  const RunRecord* previous_;
  std::map<std::string, Entry> entries_;  // by the path as the pair compares it
};

}  // namespace tav::state
