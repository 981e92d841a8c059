#include "scan/scan_trees.h"

#include "platform/files.h"
#include "platform/runtime_error.h"
#include "platform/text.h"
#include "scan/subdirs.h"
#include "scan/time_key.h"
#include "worklist/list_lines.h"

namespace tav {

namespace {

constexpr std::string_view kNoSubfolders = "照合先に対象となる親ディレクトリが存在しません";
constexpr std::string_view kNoSubfoldersCaption = "サブディレクトリ検索";
constexpr std::string_view kNothingFound = "作成・更新・削除の対象となるファイルがありませんでした";
constexpr std::string_view kNothingFoundCaption = "検索完了！";
constexpr std::string_view kScanDone =
    "検索完了！　　再度 「方向ボタン」を押すと処理を開始します。Ｗクリックでリストの取消ができます。";
constexpr std::string_view kSearching = " を検索中";

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
  Scan(Window& window, WorkTables& tables) : window_(window), tables_(tables) {}

  void run_pass(const Pass& pass) {
    const auto folders = get_subdirs(pass.walked, [this] { window_.process_pending_events(); });
    if (folders.size() < 2) end_without_subfolders();
    if (folders.size() > pass.folder_capacity) raise_out_of_range();
    const std::size_t root_chars = char_count(pass.walked);
    for (std::size_t i = 1; i < folders.size(); ++i) {
      // Kept exactly as named: a blank at either end of a folder name is part
      // of the name, and trimming it could name another folder.
      const std::string rel(drop_chars(folders[i], root_chars));
      scan_folder(pass, folders[i], rel);
    }
  }

  [[noreturn]] void end_without_subfolders() {
    window_.message_box(kNoSubfoldersCaption, kNoSubfolders, Buttons::Ok, Icon::Exclamation);
    window_.end_program(0);
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
    window_.set_text(Control::Text1, folder + std::string(kSearching));

    const std::string prefix = rel + kPathSeparator;
    FolderListing listing(pass.walked + prefix + "*.*");
    FolderEntry entry;
    while (listing.next(entry)) {
      window_.process_pending_events();
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

  Window& window_;
  WorkTables& tables_;
};

}  // namespace

ScanOutcome scan_trees(Window& window, const Roots& roots, WorkTables& tables) {
  window.set_enabled(Control::Button1, false);
  window.set_enabled(Control::Edit1, false);
  window.set_enabled(Control::Combo1, false);
  window.list_clear(Control::List1);
  window.list_clear(Control::List2);
  window.set_text(Control::Text1, "");

  Scan scan(window, tables);
  // An empty folder path, or a drive choice that names no drive, would
  // otherwise stand for the root of the current drive (or of the whole file
  // system): a tree the user never chose.
  if (roots.folder_path.empty() || roots.drive_root.empty()) scan.end_without_subfolders();

  const bool to_drive = roots.direction == Direction::FolderToDrive;
  scan.run_pass({roots.drive_root, roots.folder_root, !to_drive, true, kFirstPassFolders});
  scan.run_pass({roots.folder_root, roots.drive_root, to_drive, false, kSecondPassFolders});

  fill_list1(window, tables, roots);
  fill_list2(window, tables);
  const bool found = tables.total() > 0;
  window.set_text(Control::Text1, found ? kScanDone : "");
  if (tables.deletions() > 0) window.set_enabled(Control::Check1, true);
  if (found) return ScanOutcome::Review;
  window.message_box(kNothingFoundCaption, kNothingFound, Buttons::Ok, Icon::Information);
  return ScanOutcome::Completion;
}

}  // namespace tav
