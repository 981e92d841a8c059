#include "volume_state/record_protection.h"

namespace tav::state {

bool RecordProtection::another_left(std::string_view rel,
                                    const std::optional<FileVersion>& there) const {
  if (!others_) return false;
  for (const RunRecord& other : *others_) {
    const auto* recorded = other.find(rel);
    if (recorded && recorded->drive_side && recorded->folder == !there &&
        (!there || *recorded->drive_side == *there)) {
      return true;
    }
  }
  return false;
}

std::optional<Unrecorded> RecordProtection::file(std::string_view rel, const FileVersion& there,
                                                 const std::optional<FileVersion>& source) const {
  if (!protects()) return std::nullopt;
  const auto* recorded = own_ ? own_->find(rel) : nullptr;
  if (!recorded || recorded->folder || !destination_side(*recorded)) {
    if (another_left(rel, there)) return std::nullopt;
    return Unrecorded::MadeSince;
  }
  if (*destination_side(*recorded) == there) return std::nullopt;
  return source && roots_.source(recorded->folder_side, recorded->drive_side) != source
             ? Unrecorded::ChangedOnBoth
             : Unrecorded::ChangedSince;
}

std::optional<Unrecorded> RecordProtection::folder(std::string_view rel) const {
  if (!protects()) return std::nullopt;
  const auto* recorded = own_ ? own_->find(rel) : nullptr;
  if (recorded && recorded->folder && destination_side(*recorded)) return std::nullopt;
  if (another_left(rel, std::nullopt)) return std::nullopt;
  return Unrecorded::MadeSince;
}

}  // namespace tav::state
