#include "worklist/execution.h"

#include "platform/files.h"
#include "worklist/list_lines.h"

namespace tav {

namespace {

constexpr std::string_view kCopiedHeading = "作成or更新したファイル";
constexpr std::string_view kDeletedHeading = "削除したファイル";
constexpr std::string_view kCopying = "更新処理中   ";
constexpr std::string_view kDeleting = "削除処理中   ";

}  // namespace

std::string progress_text(std::string_view label, std::size_t slot, std::size_t count) {
  return std::string(label) + " " + std::to_string(slot) + " / " + std::to_string(count);
}

void execute_work_lists(Window& window, const WorkTables& tables, const Roots& roots) {
  window.set_text(Control::Edit3, kCopiedHeading);
  window.set_text(Control::Edit4, kDeletedHeading);
  const bool no_delete = window.is_checked(Control::Check1);
  window.list_clear(Control::List1);
  window.list_clear(Control::List2);
  const auto keep_window_alive = [&window](std::uint64_t) { window.process_pending_events(); };

  for (std::size_t slot = 1; slot <= tables.new_folders.count(); ++slot) {
    window.process_pending_events();
    const std::string& folder = tables.new_folders[slot];
    if (folder.empty()) continue;
    make_folder(folder);
    window.list_add(Control::List1, new_folder_text(folder));
  }

  for (std::size_t slot = 1; slot <= tables.copies.count(); ++slot) {
    window.process_pending_events();
    const std::string& path = tables.copies[slot].path;
    if (path.empty()) continue;
    window.set_text(Control::Text1, progress_text(kCopying, slot, tables.copies.count()));
    const std::string destination = roots.destination_root() + path;
    window.list_add(Control::List1, update_text(destination));
    copy_file(roots.source_root() + path, destination, keep_window_alive);
  }

  if (!no_delete) {
    for (std::size_t slot = 1; slot <= tables.deleted_files.count(); ++slot) {
      window.process_pending_events();
      const std::string& file = tables.deleted_files[slot].path;
      if (file.empty()) continue;
      window.set_text(Control::Text1, progress_text(kDeleting, slot, tables.deleted_files.count()));
      delete_file(file);
      window.list_add(Control::List2, deletion_text(file));
    }
    // Descending: the scan recorded every folder before its subfolders.
    for (std::size_t slot = tables.deleted_folders.count(); slot >= 1; --slot) {
      window.process_pending_events();
      const std::string& folder = tables.deleted_folders[slot];
      if (folder.empty()) continue;
      remove_folder(folder);
      window.list_add(Control::List2, deletion_text(folder));
    }
  }
  // The user may unplug the drive as soon as the program says it is done.
  flush_file_system(roots.destination_root());
}

}  // namespace tav
