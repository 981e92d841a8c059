#include "worklist/withdrawal.h"

#include <utility>

#include "platform/text.h"
#include "worklist/list_lines.h"

namespace tav {

namespace {

constexpr std::string_view kFileQuestion = "下記の選択ファイルをリストからはずしますか";
constexpr std::string_view kFolderQuestion = "下記の選択フォルダをリストからはずしますか";

// The path of a table's entry.
std::string& path_of(std::string& folder) { return folder; }
std::string& path_of(FileDeletion& file) { return file.path; }
const std::string& path_of(const std::string& folder) { return folder; }
const std::string& path_of(const FileDeletion& file) { return file.path; }

template <typename Table>
void blank_below(Table& table, std::string_view folder) {
  for (std::size_t slot = 1; slot <= table.count(); ++slot) {
    if (lies_below(path_of(table[slot]), folder)) path_of(table[slot]).clear();
  }
}

template <typename Table>
std::string deletion_text_of(const Table& table, std::size_t slot) {
  return table.has_slot(slot) ? deletion_text(path_of(table[slot])) : "";
}

// A folder that contains a kept item cannot be removed empty.
void keep_containing_folders(WorkTables& tables, std::string_view path) {
  auto& folders = tables.deleted_folders;
  for (std::size_t slot = 1; slot <= folders.count(); ++slot) {
    if (!folders[slot].empty() && lies_below(path, folders[slot])) folders[slot].clear();
  }
}

// The entry's whole text as its line shows it; empty for a slot that the
// line does not name (nothing selected).
std::string shown_text(Control list, const LineTarget& target, const WorkTables& tables,
                       const Roots& roots) {
  const auto slot = static_cast<std::size_t>(target.slot);
  if (list == Control::List1) {
    if (target.folder) {
      return tables.new_folders.has_slot(slot) ? new_folder_text(tables.new_folders[slot]) : "";
    }
    return tables.copies.has_slot(slot) ? copy_entry_text(tables.copies[slot], roots) : "";
  }
  return target.folder ? deletion_text_of(tables.deleted_folders, slot)
                       : deletion_text_of(tables.deleted_files, slot);
}

void withdraw_from_list1(const LineTarget& target, WorkTables& tables, const Roots& roots) {
  const auto slot = static_cast<std::size_t>(target.slot);
  if (target.folder) {
    withdraw_new_folder(tables, slot, roots);
  } else {
    withdraw_copy(tables, slot);
  }
}

void withdraw_from_list2(const LineTarget& target, WorkTables& tables) {
  const auto slot = static_cast<std::size_t>(target.slot);
  std::string path;
  if (target.folder) {
    if (!tables.deleted_folders.has_slot(slot)) return;
    path = std::exchange(tables.deleted_folders[slot], std::string());
    blank_below(tables.deleted_files, path);
    blank_below(tables.deleted_folders, path);
  } else {
    if (!tables.deleted_files.has_slot(slot)) return;
    path = std::exchange(tables.deleted_files[slot].path, std::string());
  }
  keep_containing_folders(tables, path);
}

}  // namespace

void withdraw_copy(WorkTables& tables, std::size_t slot) {
  if (tables.copies.has_slot(slot)) tables.copies[slot].path.clear();
}

void withdraw_new_folder(WorkTables& tables, std::size_t slot, const Roots& roots) {
  if (!tables.new_folders.has_slot(slot)) return;
  const std::string folder = std::exchange(tables.new_folders[slot], std::string());
  if (folder.empty()) return;
  blank_below(tables.new_folders, folder);
  for (std::size_t i = 1; i <= tables.copies.count(); ++i) {
    CopyEntry& entry = tables.copies[i];
    if (!entry.path.empty() && lies_below(roots.destination_root() + entry.path, folder)) {
      entry.path.clear();
    }
  }
}

void withdraw_selected_entry(Window& window, Control list, WorkTables& tables, const Roots& roots) {
  const LineTarget target =
      read_line(window.list_item_text(list, window.list_selected_index(list)));
  const std::string shown = shown_text(list, target, tables, roots);
  const std::string_view question = target.folder ? kFolderQuestion : kFileQuestion;
  const std::string text = target.folder ? shown + std::string(kFolderNote) : shown;
  const bool ok =
      window.message_box(question, text, Buttons::OkCancel, Icon::Question) == Answer::Ok;
  if (list == Control::List1) {
    if (ok) withdraw_from_list1(target, tables, roots);
    fill_list1(window, tables, roots);
  } else {
    if (ok) withdraw_from_list2(target, tables);
    fill_list2(window, tables);
  }
}

}  // namespace tav
