// Making the record of a run from what each side holds: every folder and
// file of the first-level folders that take part, each side's version.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "platform/folder_reading.h"
#include "volume_state/run_record.h"

namespace tav::state {

class RecordMaking {
 public:
  // Names the same in their composed Unicode form are one entry; so are
  // names that differ only in case where ignores_case (either side looks
  // names up without regard to case). Two entries of one side that are one
  // entry so are left out of the record.
  explicit RecordMaking(bool ignores_case) : ignores_case_(ignores_case) {}

  // What one side holds at rel (relative to its root): a file's version,
  // or none for a folder. A file on either side makes it a file's entry.
  void add(std::string_view rel, bool folder_side, const std::optional<FileVersion>& file);

  RunRecord take(std::string key);

 private:
  struct Entry {
    RecordedEntry recorded;
    bool on_folder_side = false, on_drive_side = false;
    bool twice = false;  // one side holds two entries of this one name
  };
  bool ignores_case_;
  std::map<std::string, Entry> entries_;  // by the path as the pair compares it
};

}  // namespace tav::state
