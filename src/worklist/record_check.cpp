#include "worklist/record_check.h"

#include "worklist/withdrawal.h"

namespace tav {

namespace {

class Protection {
 public:
  Protection(WorkTables& tables, const Roots& roots, const state::RunRecord& record)
      : tables_(tables),
        roots_(roots),
        record_(record),
        to_drive_(roots.direction == Direction::FolderToDrive) {}

  void folder_removals() {
    std::vector<std::size_t> slots;
    for (const auto& [slot, folder] : tables_.deleted_folders.listed()) {
      const auto* recorded = record_.find(relative(folder));
      if (!recorded || !recorded->folder || !destination_side(*recorded)) {
        protected_.push_back({relative(folder), Unrecorded::MadeSince});
        slots.push_back(slot);
      }
    }
    for (const std::size_t slot : slots) withdraw_folder_removal(tables_, slot);
  }

  void file_deletions() {
    std::vector<std::size_t> slots;
    for (const auto& [slot, file] : tables_.deleted_files.listed()) {
      const auto why = unrecorded(relative(file.path), file.seen, std::nullopt);
      if (!why) continue;
      protected_.push_back({relative(file.path), *why});
      slots.push_back(slot);
    }
    for (const std::size_t slot : slots) withdraw_file_deletion(tables_, slot);
  }

  void replacements() {
    std::vector<std::size_t> slots;
    for (const auto& [slot, copy] : tables_.copies.listed()) {
      const auto& there = to_drive_ ? copy.right_seen : copy.left_seen;
      const auto& here = to_drive_ ? copy.left_seen : copy.right_seen;
      if (!there) continue;  // a new file replaces nothing
      const auto why = unrecorded(copy.path, *there, here);
      if (!why) continue;
      protected_.push_back({copy.path, *why});
      slots.push_back(slot);
    }
    for (const std::size_t slot : slots) withdraw_copy(tables_, slot);
  }

  std::vector<ProtectedEntry> take() { return std::move(protected_); }

 private:
  const std::optional<FileVersion>& destination_side(const state::RecordedSides& entry) const {
    return to_drive_ ? entry.drive_side : entry.folder_side;
  }
  const std::optional<FileVersion>& source_side(const state::RecordedSides& entry) const {
    return to_drive_ ? entry.folder_side : entry.drive_side;
  }

  std::string relative(const std::string& path) const {
    const std::string& root = roots_.destination_root();
    return path.starts_with(root) ? path.substr(root.size()) : path;
  }

  // Why a destination file may not be touched; none when it is as the last
  // run left it.
  std::optional<Unrecorded> unrecorded(const std::string& rel, const FileVersion& there,
                                       const std::optional<FileVersion>& source) const {
    const auto* recorded = record_.find(rel);
    if (!recorded || recorded->folder || !destination_side(*recorded)) return Unrecorded::MadeSince;
    if (*destination_side(*recorded) == there) return std::nullopt;
    return source && source_side(*recorded) != source ? Unrecorded::ChangedOnBoth
                                                      : Unrecorded::ChangedSince;
  }

  WorkTables& tables_;
  const Roots& roots_;
  const state::RunRecord& record_;
  const bool to_drive_;
  std::vector<ProtectedEntry> protected_;
};

}  // namespace

std::vector<ProtectedEntry> withdraw_what_the_record_protects(WorkTables& tables,
                                                              const Roots& roots,
                                                              const state::RunRecord& record) {
  Protection protection(tables, roots, record);
  protection.folder_removals();
  protection.file_deletions();
  protection.replacements();
  return protection.take();
}

}  // namespace tav
