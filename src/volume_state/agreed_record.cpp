#include "volume_state/agreed_record.h"

#include "platform/name_fold.h"

namespace tav::state {

namespace {

// Both sides hold the entry, and the same version of a file.
bool agreed(const RecordedSides& sides) {
  if (!sides.folder_side || !sides.drive_side) return false;
  return sides.folder || alike(*sides.folder_side, *sides.drive_side);
}

}  // namespace

AgreedRecord::Entry& AgreedRecord::at(std::string_view rel) {
  auto [place, made] = entries_.try_emplace(fold_name(rel, ignores_case_));
  if (made) {
    place->second.path = std::string(rel);
    place->second.seen.folder = true;
  }
  return place->second;
}

void AgreedRecord::seen(std::string_view rel, bool folder_side,
                        const std::optional<FileVersion>& file, std::uint64_t identity) {
  Entry& entry = at(rel);
  bool& on_side = folder_side ? entry.on_folder_side : entry.on_drive_side;
  entry.twice = entry.twice || on_side;
  on_side = true;
  entry.seen.folder = entry.seen.folder && !file;
  (folder_side ? entry.seen.folder_side : entry.seen.drive_side) = file.value_or(FileVersion{});
  (folder_side ? entry.seen.folder_identity : entry.seen.drive_identity) = identity;
}

void AgreedRecord::carried_out(std::string_view rel, const std::optional<RecordedSides>& now) {
  Entry& entry = at(rel);
  entry.carried = true;
  entry.now = now;
}

RunRecord AgreedRecord::take(std::string key, RecordVolumes volumes) {
  std::vector<RecordedEntry> list;
  for (auto& [compared, entry] : entries_) {
    if (entry.carried && !entry.twice) {
      if (entry.now) list.push_back({entry.path, *entry.now});
    } else if (!entry.twice && agreed(entry.seen)) {
      // A version copied by an earlier run keeps the hash it was copied with.
      const RecordedSides* before = previous_ ? previous_->find(entry.path) : nullptr;
      if (before && before->content && before->folder_side && entry.seen.folder_side &&
          alike(*before->folder_side, *entry.seen.folder_side)) {
        entry.seen.content = before->content;
      }
      list.push_back({entry.path, entry.seen});
    } else if (const RecordedSides* before = previous_ ? previous_->find(entry.path) : nullptr) {
      // Identities count only on the volume they were noted on.
      RecordedSides kept = *before;
      if (previous_->volumes().folder != volumes.folder) kept.folder_identity = 0;
      if (previous_->volumes().drive != volumes.drive) kept.drive_identity = 0;
      list.push_back({entry.path, kept});
    }
  }
  // What the previous record knew and neither side holds now stays out:
  // both sides agree that nothing is there.
  entries_.clear();
  return RunRecord(std::move(key), ignores_case_, std::move(list), volumes);
}

}  // namespace tav::state
