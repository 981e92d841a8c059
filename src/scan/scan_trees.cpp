#include "scan/scan_trees.h"

#include <algorithm>
#include <iterator>
#include <set>

#include "errors/detail_words.h"
#include "files/operations.h"
#include "platform/local_time.h"
#include "errors/runtime_error.h"
#include "platform/text.h"
#include "scan/both_trees.h"
#include "scan/pair_state.h"
#include "scan/time_key.h"
#include "scan/tree_pairing.h"

namespace tav {

namespace {

// One pass over a walked tree W against the other tree O.
struct Pass {
  const TreeSnapshot& walked;
  const std::string& walked_root;  // with its separator
  const TreeSnapshot& other;
  const std::string& other_root;
  bool walked_is_source;
  bool walked_is_drive;  // the drive is walked first, and only that pass compares times
  std::size_t folder_capacity;
};

LocalStamp stamp_of(const ListedEntry& entry, std::int64_t shift = 0) {
  return local_stamp(entry.written.seconds - shift);
}

FileVersion seen(const ListedEntry& entry) { return entry.version(); }

// The scan compares files only; "." and ".." with blanks around them are no
// files either.
bool passed_over(const ListedEntry& entry) {
  const std::string_view name = trim_blanks(entry.name);
  return entry.folder || name == "." || name == "..";
}

class Decision {
 public:
  Decision(WorkTables& tables, ScanProgress& progress, const ScanFindings& findings)
      : tables_(tables), progress_(progress), findings_(findings) {}

  // False when the walked tree has no subfolder.
  bool run_pass(const Pass& pass, std::source_location where = std::source_location::current()) {
    const TreeSnapshot& walked = pass.walked;
    if (walked.over_limits) raise_out_of_range(where);
    if (walked.folders.size() < 2) return false;
    if (walked.folders.size() > pass.folder_capacity) raise_out_of_range(where);
    // The other root's name is checked as every look-up there checks it.
    folder_exists(pass.other_root);
    TreePairing pairing(walked, pass.other, pass.walked_is_source);
    note_first_level_groups(pass, pairing);
    for (std::size_t i = 1; i < walked.folders.size(); ++i) {
      progress_.between_steps();
      scan_folder(pass, pairing, i);
    }
    return true;
  }

  // The groups of one name, once each, in byte order.
  std::vector<std::string> take_same_names() {
    return {same_names_.begin(), same_names_.end()};
  }

  // A folder to remove that holds a group of one name left out will not be
  // empty: its removal leaves the lists, as a kept entry's folder's does.
  void keep_folders_of_groups_left() {
    std::vector<std::size_t> kept;
    for (const auto& [slot, folder] : tables_.deleted_folders.listed()) {
      for (const std::string& left : destination_groups_) {
        if (lies_below(left, folder)) {
          kept.push_back(slot);
          break;
        }
      }
    }
    for (const std::size_t slot : kept) tables_.deleted_folders.withdraw(slot);
  }

 private:
  // First-level folders of one name take no part; they are named where the
  // other side holds that name too (else they would take none anyway).
  void note_first_level_groups(const Pass& pass, TreePairing& pairing) {
    const FolderPairing& tops = pairing.entries_of(0);
    const std::vector<ListedEntry>& entries = pass.walked.folders[0].entries;
    for (std::size_t i = 0; i < entries.size(); ++i) {
      if (entries[i].folder && tops.group_meets_other(i)) note_left_out(pass, tops, i, {}, entries[i]);
    }
  }

  void note_left_out(const Pass& pass, const FolderPairing& entries, std::size_t i,
                     const std::string& rel, const ListedEntry& entry) {
    const std::string path = rel.empty() ? entry.name : rel + kPathSeparator + entry.name;
    if (entries.names_group(i)) same_names_.insert(path);
    if (!pass.walked_is_source) destination_groups_.push_back(pass.walked_root + path);
  }

  // The destination's entry takes the source's spelling, in the comparing
  // pass only, so that each is listed once.
  void note_rename(const Pass& pass, const std::string& path, const ListedEntry& walked,
                   const ListedEntry& other) {
    if (!pass.walked_is_drive || walked.name == other.name) return;
    tables_.renames.append({path, pass.walked_is_source ? other.name : walked.name, walked.folder});
  }

  void scan_folder(const Pass& pass, TreePairing& pairing, std::size_t index) {
    const TreeFolder& folder = pass.walked.folders[index];
    if (!pairing.takes_part(index)) return;
    const std::size_t top = pairing.top_of(index);
    if (!pairing.has_folder_counterpart(top) ||
        cp932_length(pass.other_root + pairing.relative_path(top)) > kMaxPathBytes) {
      return;
    }
    const std::string& rel = pairing.relative_path(index);
    const std::string there = pass.other_root + rel;
    if (!pairing.has_folder_counterpart(index) || cp932_length(there) > kMaxPathBytes) {
      if (pass.walked_is_source) {
        tables_.new_folders.append(there);
      } else {
        tables_.deleted_folders.append(pass.walked_root + rel);
      }
    } else {
      const FolderPairing& siblings = pairing.entries_of(folder.parent);
      note_rename(pass, rel, pass.walked.folders[folder.parent].entries[folder.entry],
                  *siblings.counterpart(folder.entry));
    }
    progress_.searching(folder.path);
    if (cp932_length(folder.path) + 4 > kMaxPathBytes) {  // the separator and "*.*"
      raise_error(err::kBadArgument, detail::kSearchPatternTooLong);
    }

    const FolderPairing& files = pairing.entries_of(index);
    for (std::size_t i = 0; i < folder.entries.size(); ++i) {
      const ListedEntry& entry = folder.entries[i];
      if (files.left_out(i)) {
        note_left_out(pass, files, i, rel, entry);
        continue;
      }
      if (passed_over(entry)) continue;
      // A copy left by an interrupted run never spreads to the other side,
      // and on the destination is the run's to clear, never user work.
      if (is_temporary_name(entry.name)) {
        if (!pass.walked_is_source) {
          tables_.stray_temporaries.push_back(pass.walked_root + rel + kPathSeparator + entry.name);
        }
        continue;
      }
      const ListedEntry* counterpart = files.counterpart(i);
      // Nothing is written through a link on the other side.
      if (counterpart && counterpart->folder && counterpart->link) continue;
      const std::string relative_file = rel + kPathSeparator + files.spelling(i);
      const bool found = counterpart && !counterpart->folder &&
                         cp932_length(pass.other_root + relative_file) <= kMaxPathBytes;
      if (!found) {
        record_missing_file(pass, relative_file, entry);
      } else if (pass.walked_is_drive) {
        note_rename(pass, relative_file, entry, *counterpart);
        compare(pass, relative_file, entry, *counterpart);
      }
    }
  }

  void record_missing_file(const Pass& pass, const std::string& relative_file,
                           const ListedEntry& entry) {
    if (!pass.walked_is_source) {
      tables_.deleted_files.append({pass.walked_root + relative_file, seen(entry)});
    } else if (pass.walked_is_drive) {
      tables_.copies.append(
          {relative_file, "", date_text(stamp_of(entry)), {}, seen(entry), {}, entry.identity});
    } else {
      tables_.copies.append(
          {relative_file, date_text(stamp_of(entry)), "", seen(entry), {}, {}, entry.identity});
    }
  }

  // The walked side is the drive side in a comparing pass.
  void compare(const Pass& pass, const std::string& relative_file, const ListedEntry& drive_file,
               const ListedEntry& folder_file) {
    const LocalStamp drive_stamp = stamp_of(drive_file);
    const LocalStamp folder_stamp = stamp_of(folder_file);
    // A side whose clock moved is compared as its clock read at the last run.
    const double drive_key = time_key(stamp_of(drive_file, findings_.drive_shift));
    const double folder_key = time_key(stamp_of(folder_file, findings_.folder_shift));
    const bool newer = pass.walked_is_source ? drive_key > folder_key + kUpdateMargin
                                             : folder_key > drive_key + kUpdateMargin;
    if (newer) {
      tables_.copies.append({relative_file, date_text(folder_stamp), date_text(drive_stamp),
                             seen(folder_file), seen(drive_file)});
    }
  }

  WorkTables& tables_;
  ScanProgress& progress_;
  const ScanFindings& findings_;
  std::set<std::string> same_names_;
  std::vector<std::string> destination_groups_;  // the destination's entries left out
};

// The file systems whose entries keep their number across a rename. FAT
// and exFAT number an entry by where it stands, and FUSE drivers number
// entries as they meet them.
constexpr std::string_view kLastingIdentities[] = {
    "ext2", "ext3", "ext4", "xfs", "btrfs", "tmpfs", "f2fs", "zfs", "ntfs3", "NTFS", "ReFS",
};

bool identities_last(const VolumeFacts& facts) {
  return std::ranges::find(kLastingIdentities, facts.file_system) != std::end(kLastingIdentities);
}

std::uint64_t identity_volume(const std::optional<VolumeFacts>& facts) {
  return facts && identities_last(*facts) ? facts->identity.volume : 0;
}

// The pair's record and the other pairs', and the clocks that moved.
void read_the_records(const Roots& roots, const state::PairKey& pair, const BothTrees& trees,
                      ScanFindings& findings) {
  findings.record = state::read_record(roots, pair, findings.entries_seen);
  findings.other_records = state::read_other_records(roots, pair, findings.entries_seen);
  if (!findings.record.record) return;
  state::RunRecord& record = *findings.record.record;
  findings.folder_shift = clock_shift_of(trees.folder, trees.drive, record, true);
  findings.drive_shift = clock_shift_of(trees.drive, trees.folder, record, false);
  record.shift_side(true, findings.folder_shift);
  record.shift_side(false, findings.drive_shift);
}

}  // namespace

ScanOutcome scan_trees(const Roots& roots, WorkTables& tables, ScanProgress& progress,
                       ScanFindings& findings, const PassLimits& limits,
                       const state::PairKey* pair) {
  findings = {};
  if (roots.folder_path.empty() || roots.drive_root.empty()) return ScanOutcome::NoSubfolders;
  findings.folder_volume = volume_facts(roots.folder_root);
  findings.drive_volume = volume_facts(roots.drive_root);
  auto read = std::make_shared<BothTrees>(read_both_trees(roots.drive_root, roots.folder_root, progress));
  read->folder.identity_volume = identity_volume(findings.folder_volume);
  read->drive.identity_volume = identity_volume(findings.drive_volume);
  findings.trees = read;
  const BothTrees& trees = *read;
  const bool to_drive = roots.to_drive();
  for (const TreeSnapshot* tree : {&trees.folder, &trees.drive}) {
    for (const TreeFolder& folder : tree->folders) findings.entries_seen += folder.entries.size();
  }
  findings.destination_ignores_case = roots.destination(trees.folder, trees.drive).ignores_case;
  findings.destination_files = files_taking_part(roots.destination(trees.folder, trees.drive),
                                                 roots.source(trees.folder, trees.drive));
  if (pair) read_the_records(roots, *pair, trees, findings);
  Decision decision(tables, progress, findings);
  if (!decision.run_pass({trees.drive, roots.drive_root, trees.folder, roots.folder_root,
                          !to_drive, true, limits.first}) ||
      !decision.run_pass({trees.folder, roots.folder_root, trees.drive, roots.drive_root,
                          to_drive, false, limits.second})) {
    return ScanOutcome::NoSubfolders;
  }
  decision.keep_folders_of_groups_left();
  findings.same_names = decision.take_same_names();
  return tables.total() > 0 ? ScanOutcome::Review : ScanOutcome::NothingFound;
}

ScanOutcome scan_trees(const Roots& roots, WorkTables& tables, ScanProgress& progress) {
  ScanFindings unused;
  return scan_trees(roots, tables, progress, unused);
}

}  // namespace tav
