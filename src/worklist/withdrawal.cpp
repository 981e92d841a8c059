#include "worklist/withdrawal.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/text.h"
#include "worklist/list_lines.h"

namespace tav {

namespace {

constexpr std::string_view kFileQuestion = "下記の選択ファイルをリストからはずしますか";
constexpr std::string_view kFolderQuestion = "下記の選択フォルダをリストからはずしますか";

const std::string& path_of(const std::string& folder) { return folder; }
const std::string& path_of(const FileDeletion& file) { return file.path; }
const std::string& path_of(const CopyEntry& copy) { return copy.path; }
const std::string& path_of(const SpellingRename& rename) { return rename.path; }

// Withdraws every listed entry of the table whose path (with prefix in
// front) lies below folder.
template <typename Table>
void withdraw_below(Table& table, std::string_view folder, std::string_view prefix = {}) {
  std::vector<std::size_t> below;
  for (const auto& [slot, entry] : table.listed()) {
    if (lies_below(std::string(prefix) + path_of(entry), folder)) below.push_back(slot);
  }
  for (const std::size_t slot : below) table.withdraw(slot);
}

// The same for entries at folder too.
template <typename Table>
void withdraw_at_or_below(Table& table, std::string_view path, std::string_view prefix = {}) {
  std::vector<std::size_t> found;
  for (const auto& [slot, entry] : table.listed()) {
    const std::string full = std::string(prefix) + path_of(entry);
    if (full == path || lies_below(full, path)) found.push_back(slot);
  }
  for (const std::size_t slot : found) table.withdraw(slot);
}

template <typename Table>
std::string deletion_text_of(const Table& table, std::size_t slot) {
  return table.has_slot(slot) ? deletion_text(path_of(table[slot])) : "";
}

// A folder that contains a kept item cannot be removed empty.
void keep_containing_folders(WorkTables& tables, std::string_view path) {
  std::vector<std::size_t> above;
  for (const auto& [slot, folder] : tables.deleted_folders.listed()) {
    if (lies_below(path, folder)) above.push_back(slot);
  }
  for (const std::size_t slot : above) tables.deleted_folders.withdraw(slot);
}

// A move into or out of what is withdrawn cannot be made as one rename:
// its creation and deletion are listed again, to be withdrawn with the
// rest where they lie there.
void unfold_moves_touching(WorkTables& tables, std::string_view path, const Roots& roots) {
  for (const auto& [slot, move] : tables.moves.listed()) {
    const std::string from = roots.destination_root() + move.from;
    const std::string to = roots.destination_root() + move.to;
    const auto touches = [&](const std::string& at) { return at == path || lies_below(at, path); };
    if (touches(from) || touches(to)) tables.unfold_move(slot);
  }
}

// What moved out of a folder that stays stays in it: the move's creation
// and deletion are listed again, the deletion to be withdrawn with the
// folder's other entries.
void unfold_moves_out_of(WorkTables& tables, std::string_view folder) {
  for (const auto& [slot, move] : tables.moves.listed()) {
    const auto inside = [&](std::size_t file) {
      return lies_below(tables.deleted_files[file].path, folder);
    };
    const auto folder_inside = [&](std::size_t below) {
      const std::string& path = tables.deleted_folders[below];
      return path == folder || lies_below(path, folder);
    };
    if (std::ranges::any_of(move.deleted_files, inside) ||
        std::ranges::any_of(move.deleted_folders, folder_inside)) {
      tables.unfold_move(slot);
    }
  }
}

// The entry's whole text as its line shows it; empty for a slot that the
// line does not name (nothing selected).
std::string shown_text(Control list, const LineTarget& target, const WorkTables& tables,
                       const Roots& roots) {
  const auto slot = static_cast<std::size_t>(target.slot);
  if (list == Control::List1) {
    if (target.move) {
      return tables.moves.has_slot(slot) ? move_text(tables.moves[slot], roots) : "";
    }
    if (target.rename) {
      return tables.renames.has_slot(slot) ? rename_text(tables.renames[slot], roots) : "";
    }
    if (target.folder) {
      return tables.new_folders.has_slot(slot) ? new_folder_text(tables.new_folders[slot]) : "";
    }
    return tables.copies.has_slot(slot) ? copy_entry_text(tables.copies[slot], roots) : "";
  }
  return target.folder ? deletion_text_of(tables.deleted_folders, slot)
                       : deletion_text_of(tables.deleted_files, slot);
}

// Whether the line's entry takes entries below it along: a folder's.
bool names_a_folder(Control list, const LineTarget& target, const WorkTables& tables) {
  if (list != Control::List1 || !target.rename) return target.folder;
  const auto slot = static_cast<std::size_t>(target.slot);
  return tables.renames.has_slot(slot) && tables.renames[slot].folder;
}

void withdraw_from_list1(const LineTarget& target, WorkTables& tables, const Roots& roots) {
  const auto slot = static_cast<std::size_t>(target.slot);
  if (target.move) {
    // The creation and the deletion the move stood for are listed again.
    tables.unfold_move(slot);
  } else if (target.rename) {
    withdraw_rename(tables, slot, roots);
  } else if (target.folder) {
    withdraw_new_folder(tables, slot, roots);
  } else {
    withdraw_copy(tables, slot);
  }
}

void withdraw_from_list2(const LineTarget& target, WorkTables& tables) {
  const auto slot = static_cast<std::size_t>(target.slot);
  if (target.folder) {
    withdraw_folder_removal(tables, slot);
  } else {
    withdraw_file_deletion(tables, slot);
  }
}

}  // namespace

void withdraw_copy(WorkTables& tables, std::size_t slot) { tables.copies.withdraw(slot); }

void withdraw_file_deletion(WorkTables& tables, std::size_t slot) {
  if (!tables.deleted_files.has_slot(slot) || !tables.deleted_files.is_listed(slot)) return;
  tables.deleted_files.withdraw(slot);
  keep_containing_folders(tables, tables.deleted_files[slot].path);
}

void withdraw_folder_removal(WorkTables& tables, std::size_t slot) {
  if (!tables.deleted_folders.has_slot(slot) || !tables.deleted_folders.is_listed(slot)) return;
  const std::string& folder = tables.deleted_folders[slot];
  tables.deleted_folders.withdraw(slot);
  unfold_moves_out_of(tables, folder);
  withdraw_below(tables.deleted_files, folder);
  withdraw_below(tables.deleted_folders, folder);
  keep_containing_folders(tables, folder);
}

void withdraw_new_folder(WorkTables& tables, std::size_t slot, const Roots& roots) {
  if (!tables.new_folders.has_slot(slot) || !tables.new_folders.is_listed(slot)) return;
  const std::string& folder = tables.new_folders[slot];
  tables.new_folders.withdraw(slot);
  unfold_moves_touching(tables, folder, roots);
  withdraw_below(tables.new_folders, folder);
  withdraw_below(tables.copies, folder, roots.destination_root());
}

void withdraw_rename(WorkTables& tables, std::size_t slot, const Roots& roots) {
  if (!tables.renames.has_slot(slot) || !tables.renames.is_listed(slot)) return;
  const std::string path = tables.renames[slot].path;
  const std::string there = roots.destination_root() + path;
  unfold_moves_touching(tables, there, roots);
  withdraw_at_or_below(tables.renames, path);
  withdraw_at_or_below(tables.copies, path);
  withdraw_at_or_below(tables.new_folders, there);
  withdraw_at_or_below(tables.deleted_files, there);
  withdraw_at_or_below(tables.deleted_folders, there);
}

void withdraw_selected_entry(Window& window, Control list, WorkTables& tables, const Roots& roots) {
  const LineTarget target =
      read_line(window.list_item_text(list, window.list_selected_index(list)));
  const std::string shown = shown_text(list, target, tables, roots);
  const bool folder = names_a_folder(list, target, tables);
  const std::string_view question = folder ? kFolderQuestion : kFileQuestion;
  const std::string text = folder ? shown + std::string(kFolderNote) : shown;
  const bool ok =
      window.message_box(question, text, Buttons::OkCancel, Icon::Question) == Answer::Ok;
  if (list == Control::List1) {
    if (ok) withdraw_from_list1(target, tables, roots);
    fill_list1(window, tables, roots);
    if (ok && target.move) fill_list2(window, tables);
  } else {
    if (ok) withdraw_from_list2(target, tables);
    fill_list2(window, tables);
  }
}

}  // namespace tav
