#include "volume_state/record_protection.h"

namespace tav::state {

std::optional<Unrecorded> RecordProtection::file(std::string_view rel, const FileVersion& there,
                                                 const std::optional<FileVersion>& source) const {
  const auto* recorded = record_.find(rel);
  if (!recorded || recorded->folder || !destination_side(*recorded)) return Unrecorded::MadeSince;
  if (*destination_side(*recorded) == there) return std::nullopt;
  return source && roots_.source(recorded->folder_side, recorded->drive_side) != source
             ? Unrecorded::ChangedOnBoth
             : Unrecorded::ChangedSince;
}

std::optional<Unrecorded> RecordProtection::folder(std::string_view rel) const {
  const auto* recorded = record_.find(rel);
  if (!recorded || !recorded->folder || !destination_side(*recorded)) return Unrecorded::MadeSince;
  return std::nullopt;
}

}  // namespace tav::state
