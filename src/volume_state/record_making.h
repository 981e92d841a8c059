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
  // ignores_case: either side looks names up without regard to case; names
  // the same to such a pair are one entry.
  explicit RecordMaking(bool ignores_case) : ignores_case_(ignores_case) {}

  // What one side holds at rel (relative to its root): a file's version,
  // or none for a folder. A file on either side makes it a file's entry.
  void add(std::string_view rel, bool folder_side, const std::optional<FileVersion>& file);

  RunRecord take(std::string key);

 private:
  bool ignores_case_;
  std::map<std::string, RecordedEntry> entries_;  // by the path as the pair compares it
};

}  // namespace tav::state
