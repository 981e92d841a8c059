#include "worklist/destination_check.h"

#include <algorithm>
#include <unordered_set>

#include "platform/text.h"
#include "platform/name_fold.h"
#include "worklist/withdrawal.h"

namespace tav {

namespace {

std::string_view last_name(std::string_view path) {
  const auto cut = path.rfind(kPathSeparator);
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

std::string relative_folder(std::string_view folder, const Roots& roots) {
  const std::string& root = roots.destination_root();
  return std::string(folder.starts_with(root) ? folder.substr(root.size()) : folder);
}

const std::optional<FileVersion>& source_seen(const CopyEntry& entry, const Roots& roots) {
  return roots.source(entry.left_seen, entry.right_seen);
}

// An entry still in LIST1.
struct Kept {
  std::string path;  // relative
  std::size_t slot;
  bool folder;
};

class RefusedEntries {
 public:
  RefusedEntries(WorkTables& tables, const Roots& roots) : tables_(tables), roots_(roots) {}

  void withdraw(const Kept& entry, Refusal why) {
    refused_.push_back({entry.path, why});
    if (entry.folder) {
      withdraw_new_folder(tables_, entry.slot, roots_);
    } else {
      withdraw_copy(tables_, entry.slot);
    }
  }

  // Every entry still in LIST1, folders first.
  std::vector<Kept> kept() const {
    std::vector<Kept> entries;
    for (const auto& [slot, folder] : tables_.new_folders.listed()) {
      entries.push_back({relative_folder(folder, roots_), slot, true});
    }
    for (const auto& [slot, copy] : tables_.copies.listed()) entries.push_back({copy.path, slot, false});
    return entries;
  }

  bool still_kept(const Kept& entry) const {
    return entry.folder ? tables_.new_folders.is_listed(entry.slot)
                        : tables_.copies.is_listed(entry.slot);
  }

  std::optional<FileVersion> source_of(const Kept& entry) const {
    return entry.folder ? std::nullopt : source_seen(tables_.copies[entry.slot], roots_);
  }

  // Deletions and removals of names no journal can name (control
  // characters) leave the lists as the copies of such names do.
  void deletions_without_a_journal_name() {
    const DestinationRules none;
    std::vector<std::size_t> files, folders;
    for (const auto& [slot, file] : tables_.deleted_files.listed()) {
      if (name_refusal(last_name(file.path), none)) files.push_back(slot);
    }
    for (const auto& [slot, folder] : tables_.deleted_folders.listed()) {
      if (name_refusal(last_name(folder), none)) folders.push_back(slot);
    }
    for (const std::size_t slot : files) {
      refused_.push_back({relative_folder(tables_.deleted_files[slot].path, roots_), Refusal::Characters});
      withdraw_file_deletion(tables_, slot);
    }
    for (const std::size_t slot : folders) {
      if (!tables_.deleted_folders.is_listed(slot)) continue;
      refused_.push_back({relative_folder(tables_.deleted_folders[slot], roots_), Refusal::Characters});
      withdraw_folder_removal(tables_, slot);
    }
  }

  // A rename to a spelling the destination cannot hold (a decomposed name
  // longer than its names may be) leaves the lists with everything below
  // it, as a confirmed double-click takes it.
  void renames_it_cannot_take(const DestinationRules& rules) {
    std::vector<std::size_t> slots;
    for (const auto& [slot, rename] : tables_.renames.listed()) {
      if (name_refusal(last_name(rename.path), rules)) slots.push_back(slot);
    }
    for (const std::size_t slot : slots) {
      if (!tables_.renames.is_listed(slot)) continue;
      const SpellingRename& rename = tables_.renames[slot];
      refused_.push_back({rename.path, *name_refusal(last_name(rename.path), rules)});
      withdraw_rename(tables_, slot, roots_);
    }
  }

  std::vector<RefusedEntry> take() {
    std::ranges::sort(refused_, {}, &RefusedEntry::path);
    return std::move(refused_);
  }

 private:
  WorkTables& tables_;
  const Roots& roots_;
  std::vector<RefusedEntry> refused_;
};

std::optional<Refusal> refusal_of(const Kept& entry, const std::optional<FileVersion>& source,
                                  const DestinationRules& rules) {
  if (const auto why = name_refusal(last_name(entry.path), rules)) return why;
  return source ? size_refusal(source->size, rules) : std::nullopt;
}

}  // namespace

std::vector<RefusedEntry> withdraw_refused_entries(WorkTables& tables, const Roots& roots,
                                                   const DestinationRules& rules) {
  RefusedEntries refused(tables, roots);
  // A rename first: an update at its path leaves with it.
  refused.renames_it_cannot_take(rules);
  for (const Kept& entry : refused.kept()) {
    if (!refused.still_kept(entry)) continue;  // below a folder withdrawn before
    if (const auto why = refusal_of(entry, refused.source_of(entry), rules)) {
      refused.withdraw(entry, *why);
    }
  }
  refused.deletions_without_a_journal_name();
  // The scan leaves out two of one name on a side as it knows the pair;
  // the rules may know more of the destination (a FAT volume whose walk
  // showed no letter to tell it by).
  std::vector<Kept> entries = refused.kept();
  std::ranges::stable_sort(entries, [](const Kept& a, const Kept& b) {
    return a.folder != b.folder ? a.folder : a.path < b.path;
  });
  std::unordered_set<std::string> taken;
  for (const Kept& entry : entries) {
    if (!refused.still_kept(entry)) continue;
    if (!taken.insert(fold_name(entry.path, rules.ignores_case)).second) {
      refused.withdraw(entry, Refusal::CaseTwin);
    }
  }
  return refused.take();
}

}  // namespace tav
