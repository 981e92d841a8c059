#include "worklist/execution.h"

#include "files/copy_batch.h"
#include "files/operations.h"
#include "platform/text.h"
#include "worklist/list_lines.h"

namespace tav {

namespace {

constexpr std::string_view kCopiedHeading = "作成or更新したファイル";
constexpr std::string_view kDeletedHeading = "削除したファイル";
constexpr std::string_view kCopying = "更新処理中   ";
constexpr std::string_view kDeleting = "削除処理中   ";

class Execution {
 public:
  Execution(Window& window, const WorkTables& tables, const Roots& roots)
      : window_(window),
        tables_(tables),
        roots_(roots),
        deletions_(!window.is_checked(Control::Check1)),
        file_deleted_(tables.deleted_files.count() + 1),
        folder_removed_(tables.deleted_folders.count() + 1) {}

  std::vector<LeftEntry> run() {
    create_folders();
    copy_files();
    if (deletions_) {
      delete_files();
      remove_folders();
    }
    // The user may unplug the drive as soon as the program says it is done.
    flush_file_system(roots_.destination_root());
    between_steps();  // a close during the last step ends the program now
    return std::move(left_);
  }

 private:
  // A close takes effect between steps, once the copies written are in place.
  void between_steps() {
    if (!window_.keep_painted()) return;
    copies_.place();
    take_left_copies();
    window_.process_pending_events();
  }

  void create_folders() {
    for (std::size_t slot = 1; slot <= tables_.new_folders.count(); ++slot) {
      between_steps();
      const std::string& folder = tables_.new_folders[slot];
      if (folder.empty() || left_out(folder)) continue;
      const auto there = entry_at(folder);
      if (there && !there->folder && !delete_ahead(folder)) {
        left_out_.push_back(folder);
        continue;
      }
      make_folder(folder);
      window_.list_add(Control::List1, new_folder_text(folder));
    }
  }

  void copy_files() {
    const bool to_drive = roots_.direction == Direction::FolderToDrive;
    for (std::size_t slot = 1; slot <= tables_.copies.count(); ++slot) {
      between_steps();
      const CopyEntry& entry = tables_.copies[slot];
      if (entry.path.empty()) continue;
      window_.set_text(Control::Text1, progress_text(kCopying, slot, tables_.copies.count()));
      const std::string destination = roots_.destination_root() + entry.path;
      const std::string source = roots_.source_root() + entry.path;
      if (left_out(destination)) continue;
      auto there = entry_at(destination);
      if (there && there->folder) {
        if (!remove_ahead(destination)) continue;
        there.reset();
      }
      // Never over a change made after the scan; a source changed since is
      // copied as it is now.
      const auto& seen_there = to_drive ? entry.right_seen : entry.left_seen;
      if (there && (!seen_there || there->version() != *seen_there)) {
        left_.push_back({destination, LeftEntry::Why::Changed});
        continue;
      }
      const auto source_now = entry_at(source);
      if (!source_now || source_now->folder) {
        left_.push_back({source, LeftEntry::Why::Missing});
        continue;
      }
      window_.list_add(Control::List1, update_text(destination));
      copies_.add(source, destination,
                  there ? Replaces::exactly(there->version()) : Replaces::nothing(),
                  [this](std::uint64_t) { window_.keep_painted(); });
      take_left_copies();
    }
    copies_.place();
    take_left_copies();
  }

  void delete_files() {
    for (std::size_t slot = 1; slot <= tables_.deleted_files.count(); ++slot) {
      between_steps();
      const FileDeletion& file = tables_.deleted_files[slot];
      if (file.path.empty() || file_deleted_[slot]) continue;
      window_.set_text(Control::Text1,
                       progress_text(kDeleting, slot, tables_.deleted_files.count()));
      delete_if_unchanged(slot);
    }
  }

  // Descending: the scan recorded every folder before its subfolders.
  void remove_folders() {
    for (std::size_t slot = tables_.deleted_folders.count(); slot >= 1; --slot) {
      between_steps();
      const std::string& folder = tables_.deleted_folders[slot];
      if (folder.empty() || folder_removed_[slot]) continue;
      remove_if_empty(slot);
    }
  }

  // Deletes the file as the scan saw it; a file changed or gone since is
  // left and answered.
  bool delete_if_unchanged(std::size_t slot) {
    file_deleted_[slot] = true;
    const FileDeletion& file = tables_.deleted_files[slot];
    const auto now = entry_at(file.path);
    if (!now || now->folder || now->version() != file.seen) {
      left_.push_back({file.path, now ? LeftEntry::Why::Changed : LeftEntry::Why::Missing});
      return false;
    }
    delete_file(file.path);
    window_.list_add(Control::List2, deletion_text(file.path));
    return true;
  }

  // A folder that still holds something (a file left, or one added since
  // the scan) is left as it is.
  bool remove_if_empty(std::size_t slot) {
    folder_removed_[slot] = true;
    const std::string& folder = tables_.deleted_folders[slot];
    if (!remove_empty_folder(folder)) return false;
    window_.list_add(Control::List2, deletion_text(folder));
    return true;
  }

  // A file stands where a folder is to be created: its deletion, when it is
  // listed and deletions are made, clears the way first.
  bool delete_ahead(const std::string& path) {
    if (!deletions_) return false;
    for (std::size_t slot = 1; slot <= tables_.deleted_files.count(); ++slot) {
      if (tables_.deleted_files[slot].path == path && !file_deleted_[slot]) {
        return delete_if_unchanged(slot);
      }
    }
    return false;
  }

  // A folder stands where a file is to be copied: its removal, with the
  // listed entries below it, clears the way first, when it is listed and
  // deletions are made.
  bool remove_ahead(const std::string& folder) {
    if (!deletions_) return false;
    std::size_t found = 0;
    for (std::size_t slot = 1; slot <= tables_.deleted_folders.count() && !found; ++slot) {
      if (tables_.deleted_folders[slot] == folder && !folder_removed_[slot]) found = slot;
    }
    if (!found) return false;
    for (std::size_t slot = 1; slot <= tables_.deleted_files.count(); ++slot) {
      const std::string& path = tables_.deleted_files[slot].path;
      if (!path.empty() && !file_deleted_[slot] && lies_below(path, folder)) {
        delete_if_unchanged(slot);
      }
    }
    for (std::size_t slot = tables_.deleted_folders.count(); slot > found; --slot) {
      const std::string& path = tables_.deleted_folders[slot];
      if (!path.empty() && !folder_removed_[slot] && lies_below(path, folder)) {
        remove_if_empty(slot);
      }
    }
    return remove_if_empty(found);
  }

  // Below a folder whose creation was left out, nothing is created.
  bool left_out(const std::string& path) const {
    for (const std::string& folder : left_out_) {
      if (path == folder || lies_below(path, folder)) return true;
    }
    return false;
  }

  void take_left_copies() {
    for (std::string& destination : copies_.take_left()) {
      left_.push_back({std::move(destination), LeftEntry::Why::Changed});
    }
  }

  Window& window_;
  const WorkTables& tables_;
  const Roots& roots_;
  const bool deletions_;
  // By slot: done ahead of their phase, or left.
  std::vector<bool> file_deleted_;
  std::vector<bool> folder_removed_;
  std::vector<std::string> left_out_;
  std::vector<LeftEntry> left_;
  CopyBatch copies_;
};

}  // namespace

std::string progress_text(std::string_view label, std::size_t slot, std::size_t count) {
  return std::string(label) + " " + std::to_string(slot) + " / " + std::to_string(count);
}

std::vector<LeftEntry> execute_work_lists(Window& window, const WorkTables& tables,
                                          const Roots& roots) {
  window.set_text(Control::Edit3, kCopiedHeading);
  window.set_text(Control::Edit4, kDeletedHeading);
  Execution execution(window, tables, roots);
  window.list_clear(Control::List1);
  window.list_clear(Control::List2);
  return execution.run();
}

}  // namespace tav
