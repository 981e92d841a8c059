#include "scan/pair_state.h"

#include <set>
#include <type_traits>

#include "files/operations.h"
#include "platform/text.h"
#include "platform/name_fold.h"
#include "volume_state/agreed_record.h"
#include "volume_state/clock_shift.h"
#include "volume_state/record_making.h"
#include "volume_state/state_layout.h"

namespace tav {

namespace {

class Quiet final : public ScanProgress {
 public:
  void searching(std::string_view) override {}
  void between_steps() override {}
};

bool ignores_case(const TreeSnapshot& a, const TreeSnapshot& b) {
  return a.ignores_case || b.ignores_case;
}

// The names of the root's folders (not links) as the pair compares them.
std::set<std::string> top_folders(const TreeSnapshot& tree, bool case_blind) {
  std::set<std::string> names;
  if (tree.folders.empty()) return names;
  for (const ListedEntry& entry : tree.folders[0].entries) {
    if (entry.folder && !entry.link && !state::is_state_folder_name(entry.name)) {
      names.insert(fold_name(entry.name, case_blind));
    }
  }
  return names;
}

std::string_view last_name(std::string_view path) {
  const auto cut = path.rfind(kPathSeparator);
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

// Calls visit(relative path, entry or null for a folder) for every folder
// and file of the walked tree's first-level folders that take part, until
// a visit that answers (bool) false.
template <typename Visit>
void for_each_taking_part(const TreeSnapshot& walked, const TreeSnapshot& other, Visit visit) {
  const auto go_on = [&](const std::string& rel, const ListedEntry* entry) {
    if constexpr (std::is_same_v<decltype(visit(rel, entry)), bool>) {
      return visit(rel, entry);
    } else {
      visit(rel, entry);
      return true;
    }
  };
  if (walked.folders.empty()) return;
  const std::size_t root_length = walked.folders[0].path.size() + 1;
  const bool case_blind = ignores_case(walked, other);
  const std::set<std::string> other_tops = top_folders(other, case_blind);
  std::vector<bool> part(walked.folders.size(), false);
  for (std::size_t i = 1; i < walked.folders.size(); ++i) {
    const TreeFolder& folder = walked.folders[i];
    const std::string_view name = last_name(folder.path);
    part[i] = folder.level > 2 ? part[folder.parent]
                               : !state::is_state_folder_name(name) &&
                                     other_tops.contains(fold_name(name, case_blind));
    if (!part[i]) continue;
    const std::string rel = folder.path.substr(root_length);
    if (!go_on(rel, nullptr)) return;
    for (const ListedEntry& entry : folder.entries) {
      if (entry.folder || is_temporary_name(entry.name)) continue;
      if (!go_on(rel + kPathSeparator + entry.name, &entry)) return;
    }
  }
}

}  // namespace

state::RunRecord record_of(const BothTrees& trees, std::string key) {
  state::RecordMaking making(ignores_case(trees.folder, trees.drive));
  const auto take = [&](const TreeSnapshot& walked, const TreeSnapshot& other, bool folder_side) {
    for_each_taking_part(walked, other, [&](const std::string& rel, const ListedEntry* file) {
      making.add(rel, folder_side, file ? std::optional(file->version()) : std::nullopt);
    });
  };
  take(trees.folder, trees.drive, true);
  take(trees.drive, trees.folder, false);
  return making.take(std::move(key));
}

namespace {

// An entry's identity, where its side's volume keeps them.
std::uint64_t identity_of(const ListedEntry* entry, const std::string& path,
                          const TreeSnapshot& side) {
  if (!entry || side.identity_volume == 0) return 0;
  return entry->identity != 0 ? entry->identity : identity_at(path);
}

// What both sides hold at rel now, as a record holds it; none where neither
// holds anything.
std::optional<state::RecordedSides> sides_now(const Roots& roots, const BothTrees& trees,
                                             const std::string& rel) {
  const auto folder = entry_at(roots.folder_root + rel);
  const auto drive = entry_at(roots.drive_root + rel);
  if (!folder && !drive) return std::nullopt;
  state::RecordedSides sides;
  sides.folder = (!folder || folder->folder) && (!drive || drive->folder);
  const auto version = [&](const std::optional<ListedEntry>& entry) -> std::optional<FileVersion> {
    if (!entry) return std::nullopt;
    return sides.folder || entry->folder ? FileVersion{} : entry->version();
  };
  sides.folder_side = version(folder);
  sides.drive_side = version(drive);
  sides.folder_identity =
      identity_of(folder ? &*folder : nullptr, roots.folder_root + rel, trees.folder);
  sides.drive_identity =
      identity_of(drive ? &*drive : nullptr, roots.drive_root + rel, trees.drive);
  return sides;
}

// A placed copy's two sides as the run saw them: the source's version
// that was read and the copy as it stood once placed. None where the run
// did not see the copy as written (its time set again, a move's copy):
// then both sides are looked at now.
std::optional<state::RecordedSides> sides_as_copied(const Roots& roots, const BothTrees& trees,
                                                    const CopyEntry& copy) {
  if (!copy.written_from || !copy.placed) return std::nullopt;
  const auto& seen = roots.source(copy.left_seen, copy.right_seen);
  const std::uint64_t source_identity = seen == copy.written_from ? copy.source_identity : 0;
  const ListedEntry source{{}, copy.written_from->size, copy.written_from->written, false, false,
                           source_identity};
  const ListedEntry& folder = roots.to_drive() ? source : *copy.placed;
  const ListedEntry& drive = roots.to_drive() ? *copy.placed : source;
  state::RecordedSides sides;
  sides.content = copy.written_hash;
  sides.folder_side = folder.version();
  sides.drive_side = drive.version();
  sides.folder_identity = identity_of(&folder, roots.folder_root + copy.path, trees.folder);
  sides.drive_identity = identity_of(&drive, roots.drive_root + copy.path, trees.drive);
  return sides;
}

template <typename Table, typename Path>
void carried_out(const Table& table, const Roots& roots, const BothTrees& trees,
                 state::AgreedRecord& record, Path path) {
  for (std::size_t slot = 1; slot <= table.count(); ++slot) {
    if (table.state(slot) != SlotState::Done) continue;
    const std::string rel = path(table[slot]);
    record.carried_out(rel, sides_now(roots, trees, rel));
  }
}

}  // namespace

state::RunRecord record_after_run(const BothTrees& trees, const WorkTables& tables,
                                  const Roots& roots, const state::RunRecord* previous,
                                  std::string key) {
  state::AgreedRecord record(ignores_case(trees.folder, trees.drive), previous);
  const auto take = [&](const TreeSnapshot& walked, const TreeSnapshot& other, bool folder_side) {
    for_each_taking_part(walked, other, [&](const std::string& rel, const ListedEntry* file) {
      record.seen(rel, folder_side, file ? std::optional(file->version()) : std::nullopt,
                  file ? file->identity : 0);
    });
  };
  // The source's spelling first: the one the run's renames gave the
  // destination.
  if (roots.to_drive()) {
    take(trees.folder, trees.drive, true);
    take(trees.drive, trees.folder, false);
  } else {
    take(trees.drive, trees.folder, false);
    take(trees.folder, trees.drive, true);
  }
  const std::string& root = roots.destination_root();
  const auto relative = [&](const std::string& path) { return path.substr(root.size()); };
  // A copy's record keeps the hash of what it wrote, checked on the medium.
  for (std::size_t slot = 1; slot <= tables.copies.count(); ++slot) {
    if (tables.copies.state(slot) != SlotState::Done) continue;
    const CopyEntry& copy = tables.copies[slot];
    auto sides = sides_as_copied(roots, trees, copy);
    if (!sides) {
      sides = sides_now(roots, trees, copy.path);
      if (sides) sides->content = copy.written_hash;
    }
    record.carried_out(copy.path, sides);
  }
  carried_out(tables.new_folders, roots, trees, record, relative);
  carried_out(tables.deleted_files, roots, trees, record,
              [&](const FileDeletion& file) { return relative(file.path); });
  carried_out(tables.deleted_folders, roots, trees, record, relative);
  return record.take(std::move(key), {trees.folder.identity_volume, trees.drive.identity_volume});
}

// The walk stops once no shift is possible: on a side whose clock stood
// still, after about a tenth of its files.
std::int64_t clock_shift_of(const TreeSnapshot& side, const TreeSnapshot& other,
                      const state::RunRecord& record, bool folder_side) {
  std::size_t still_to_come = 0;
  for (const TreeFolder& folder : side.folders) still_to_come += folder.entries.size();
  state::ClockShiftCount count;
  for_each_taking_part(side, other, [&](const std::string& rel, const ListedEntry* file) {
    if (!file) return true;
    --still_to_come;
    const state::RecordedSides* recorded = record.find(rel);
    const auto& version = recorded ? (folder_side ? recorded->folder_side : recorded->drive_side)
                                   : std::nullopt;
    if (version && !recorded->folder) count.add({*version, file->version()});
    return !count.none_possible(still_to_come);
  });
  return count.shift();
}

state::RunRecord record_of_trees_now(const Roots& roots, std::string key) {
  Quiet quiet;
  return record_of(read_both_trees(roots.drive_root, roots.folder_root, quiet), std::move(key));
}

std::size_t files_taking_part(const TreeSnapshot& walked, const TreeSnapshot& other) {
  std::size_t files = 0;
  for_each_taking_part(walked, other, [&](const std::string&, const ListedEntry* file) {
    if (file) ++files;
  });
  return files;
}

}  // namespace tav
