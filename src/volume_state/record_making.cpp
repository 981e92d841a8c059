#include "volume_state/record_making.h"

#include "platform/name_fold.h"

namespace tav::state {

void RecordMaking::add(std::string_view rel, bool folder_side,
                       const std::optional<FileVersion>& file) {
  auto [place, made] = entries_.try_emplace(fold_name(rel, ignores_case_));
  Entry& entry = place->second;
  if (made) {
    entry.recorded.path = std::string(rel);
    entry.recorded.sides.folder = true;
  }
  bool& on_side = folder_side ? entry.on_folder_side : entry.on_drive_side;
  entry.twice = entry.twice || on_side;
  on_side = true;
  RecordedSides& sides = entry.recorded.sides;
  sides.folder = sides.folder && !file;
  (folder_side ? sides.folder_side : sides.drive_side) = file.value_or(FileVersion{});
}

RunRecord RecordMaking::take(std::string key) {
  std::vector<RecordedEntry> list;
  list.reserve(entries_.size());
  for (auto& [compared, entry] : entries_) {
    if (!entry.twice) list.push_back(std::move(entry.recorded));
  }
  entries_.clear();
  return RunRecord(std::move(key), ignores_case_, std::move(list));
}

}  // namespace tav::state
