#include "scan/scan_trees.h"

#include "platform/files.h"
#include "platform/runtime_error.h"
#include "platform/text.h"
#include "scan/subdirs.h"
#include "scan/time_key.h"

namespace tav {

namespace {

// Folders of a walked tree, its root included, that each pass can hold.
constexpr std::size_t kFirstPassFolders = 9999;
constexpr std::size_t kSecondPassFolders = 8000;

// One pass over a walked root W, against the other root O.
struct Pass {
  const std::string& walked;
  const std::string& other;
  bool walked_is_source;
  bool walked_is_drive;  // the drive is walked first, and only that pass compares times
  std::size_t folder_capacity;
};

class Scan {
 public:
  Scan(WorkTables& tables, ScanProgress& progress) : tables_(tables), progress_(progress) {}

  // False when the walked root has no subfolder.
  bool run_pass(const Pass& pass) {
    const auto folders = get_subdirs(pass.walked, [this] { progress_.between_steps(); });
    if (folders.size() < 2) return false;
    if (folders.size() > pass.folder_capacity) raise_out_of_range();
    const std::size_t root_chars = char_count(pass.walked);
    for (std::size_t i = 1; i < folders.size(); ++i) {
      // Kept exactly as named: a blank at either end of a folder name is part
      // of the name, and trimming it could name another folder.
      const std::string rel(drop_chars(folders[i], root_chars));
      scan_folder(pass, folders[i], rel);
    }
    return true;
  }

 private:
  void scan_folder(const Pass& pass, const std::string& folder, const std::string& rel) {
    const std::string top = rel.substr(0, rel.find(kPathSeparator));
    if (!folder_exists(pass.other + top)) return;
    if (!folder_exists(pass.other + rel)) {
      if (pass.walked_is_source) {
        tables_.new_folders.append(pass.other + rel);
      } else {
        tables_.deleted_folders.append(pass.walked + rel);
      }
    }
    progress_.searching(folder);

    const std::string prefix = rel + kPathSeparator;
    FolderListing listing(pass.walked + prefix + "*.*");
    FolderEntry entry;
    while (listing.next(entry)) {
      progress_.between_steps();
      if (skip_entry(entry.name, entry.attributes)) continue;
      const std::string there = pass.other + prefix + entry.name;
      if (!file_exists(there)) {
        record_missing_file(pass, prefix + entry.name, entry);
      } else if (pass.walked_is_drive) {
        compare(pass, prefix + entry.name, entry, there);
      }
    }
  }

  void record_missing_file(const Pass& pass, const std::string& relative_file,
                           const FolderEntry& entry) {
    if (!pass.walked_is_source) {
      tables_.deleted_files.append(pass.walked + relative_file);
    } else if (pass.walked_is_drive) {
      tables_.copies.append({relative_file, "", entry.date});
    } else {
      tables_.copies.append({relative_file, entry.date, ""});
    }
  }

  // The walked side is the drive side in a comparing pass.
  void compare(const Pass& pass, const std::string& relative_file, const FolderEntry& drive_file,
               const std::string& folder_path) {
    const auto folder_file = look_up(folder_path);
    if (!folder_file) return;  // removed since it was found: nothing to decide
    const double drive_key = time_key(drive_file.date, drive_file.time);
    const double folder_key = time_key(folder_file->date, folder_file->time);
    const bool newer = pass.walked_is_source ? drive_key > folder_key + kUpdateMargin
                                             : folder_key > drive_key + kUpdateMargin;
    if (newer) tables_.copies.append({relative_file, folder_file->date, drive_file.date});
  }

  WorkTables& tables_;
  ScanProgress& progress_;
};

}  // namespace

ScanOutcome scan_trees(const Roots& roots, WorkTables& tables, ScanProgress& progress) {
  if (roots.folder_path.empty() || roots.drive_root.empty()) return ScanOutcome::NoSubfolders;
  Scan scan(tables, progress);
  const bool to_drive = roots.direction == Direction::FolderToDrive;
  if (!scan.run_pass({roots.drive_root, roots.folder_root, !to_drive, true, kFirstPassFolders}) ||
      !scan.run_pass({roots.folder_root, roots.drive_root, to_drive, false, kSecondPassFolders})) {
    return ScanOutcome::NoSubfolders;
  }
  return tables.total() > 0 ? ScanOutcome::Review : ScanOutcome::NothingFound;
}

}  // namespace tav
