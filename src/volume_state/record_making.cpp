#include "volume_state/record_making.h"

#include "platform/name_fold.h"

namespace tav::state {

void RecordMaking::add(std::string_view rel, bool folder_side,
                       const std::optional<FileVersion>& file) {
  auto [place, made] = entries_.try_emplace(ignores_case_ ? fold_case(rel) : std::string(rel));
  RecordedEntry& entry = place->second;
  if (made) {
    entry.path = std::string(rel);
    entry.sides.folder = true;
  }
  entry.sides.folder = entry.sides.folder && !file;
  (folder_side ? entry.sides.folder_side : entry.sides.drive_side) = file.value_or(FileVersion{});
}

RunRecord RecordMaking::take(std::string key) {
  std::vector<RecordedEntry> list;
  list.reserve(entries_.size());
  for (auto& [compared, entry] : entries_) list.push_back(std::move(entry));
  entries_.clear();
  return RunRecord(std::move(key), ignores_case_, std::move(list));
}

}  // namespace tav::state
