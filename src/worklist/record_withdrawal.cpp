#include "worklist/record_withdrawal.h"

#include "worklist/withdrawal.h"

namespace tav {

namespace {

class Withdrawal {
 public:
  Withdrawal(WorkTables& tables, const Roots& roots, const state::RecordProtection& protection)
      : tables_(tables), roots_(roots), protection_(protection) {}

  void folder_removals() {
    std::vector<std::size_t> slots;
    for (const auto& [slot, folder] : tables_.deleted_folders.listed()) {
      if (protect(relative(folder), protection_.folder(relative(folder)))) slots.push_back(slot);
    }
    for (const std::size_t slot : slots) withdraw_folder_removal(tables_, slot);
  }

  void file_deletions() {
    std::vector<std::size_t> slots;
    for (const auto& [slot, file] : tables_.deleted_files.listed()) {
      const std::string rel = relative(file.path);
      if (protect(rel, protection_.file(rel, file.seen, std::nullopt))) slots.push_back(slot);
    }
    for (const std::size_t slot : slots) withdraw_file_deletion(tables_, slot);
  }

  void replacements() {
    std::vector<std::size_t> slots;
    for (const auto& [slot, copy] : tables_.copies.listed()) {
      const auto& there = roots_.destination(copy.left_seen, copy.right_seen);
      if (!there) continue;  // a new file replaces nothing
      const auto& here = roots_.source(copy.left_seen, copy.right_seen);
      if (protect(copy.path, protection_.file(copy.path, *there, here))) slots.push_back(slot);
    }
    for (const std::size_t slot : slots) withdraw_copy(tables_, slot);
  }

  std::vector<ProtectedEntry> take() { return std::move(protected_); }

 private:
  bool protect(const std::string& rel, std::optional<state::Unrecorded> why) {
    if (why) protected_.push_back({rel, *why});
    return why.has_value();
  }

  std::string relative(const std::string& path) const {
    const std::string& root = roots_.destination_root();
    return path.starts_with(root) ? path.substr(root.size()) : path;
  }

  WorkTables& tables_;
  const Roots& roots_;
  const state::RecordProtection& protection_;
  std::vector<ProtectedEntry> protected_;
};

}  // namespace

std::vector<ProtectedEntry> withdraw_what_the_record_protects(
    WorkTables& tables, const Roots& roots, const state::RecordProtection& protection) {
  if (!protection.protects()) return {};
  Withdrawal withdrawal(tables, roots, protection);
  withdrawal.folder_removals();
  withdrawal.file_deletions();
  withdrawal.replacements();
  return withdrawal.take();
}

}  // namespace tav
