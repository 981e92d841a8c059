#include "worklist/list_lines.h"

#include <cstdio>

#include "platform/text.h"

namespace tav {

namespace {

constexpr std::string_view kCreateWord = "(作成) ";
constexpr std::string_view kUpdateWord = "(更新) ";
constexpr std::string_view kDeleteWord = "(削除) ";
constexpr std::string_view kRenameWord = "(名前変更) ";
constexpr std::string_view kMoveWord = "(移動) ";
constexpr std::size_t kIndexWidth = 8;

}  // namespace

std::string format_line(std::string_view text, std::size_t width, long index) {
  std::string line(text);
  const std::size_t bytes = cp932_length(text);
  if (bytes < width) line.append(width - bytes, ' ');
  char field[32];
  std::snprintf(field, sizeof field, "%8ld", index);
  line += field;
  return line;
}

std::string copy_entry_text(const CopyEntry& entry, const Roots& roots) {
  const std::string& destination_date = roots.destination(entry.left_date, entry.right_date);
  std::string text(trim_blanks(destination_date).empty() ? kCreateWord : kUpdateWord);
  text += roots.destination_root();
  text += entry.path;
  text += "  (";
  text += entry.left_date;
  text += ")";
  text += roots.to_drive() ? "→" : "←";
  text += "(";
  text += entry.right_date;
  text += ")";
  return text;
}

std::string new_folder_text(std::string_view folder) {
  return std::string(kCreateWord) + std::string(folder);
}

std::string update_text(std::string_view destination) {
  return std::string(kUpdateWord) + std::string(destination);
}

std::string deletion_text(std::string_view path) {
  return std::string(kDeleteWord) + std::string(path);
}

std::string rename_text(const SpellingRename& rename, const Roots& roots) {
  return std::string(kRenameWord) + roots.destination_root() + rename.path;
}

std::string move_text(const Move& move, const Roots& roots) {
  return std::string(kMoveWord) + roots.destination_root() + move.to;
}

std::vector<std::string> list1_lines(const WorkTables& tables, const Roots& roots) {
  std::vector<std::string> lines;
  lines.reserve(tables.copies.count() + tables.new_folders.count() + tables.renames.count() +
                tables.moves.count());
  for (const auto& [slot, entry] : tables.copies.listed()) {
    lines.push_back(format_line(copy_entry_text(entry, roots), kCopyTextWidth,
                                static_cast<long>(slot)));
  }
  for (const auto& [slot, folder] : tables.new_folders.listed()) {
    lines.push_back(format_line(new_folder_text(folder), kOtherTextWidth,
                                kFolderIndexBase + static_cast<long>(slot)));
  }
  for (const auto& [slot, rename] : tables.renames.listed()) {
    lines.push_back(format_line(rename_text(rename, roots), kOtherTextWidth,
                                kRenameIndexBase + static_cast<long>(slot)));
  }
  for (const auto& [slot, move] : tables.moves.listed()) {
    lines.push_back(format_line(move_text(move, roots), kOtherTextWidth,
                                kMoveIndexBase + static_cast<long>(slot)));
  }
  return lines;
}

std::vector<std::string> list2_lines(const WorkTables& tables) {
  std::vector<std::string> lines;
  lines.reserve(tables.deletions());
  for (const auto& [slot, file] : tables.deleted_files.listed()) {
    lines.push_back(format_line(deletion_text(file.path), kOtherTextWidth,
                                static_cast<long>(slot)));
  }
  for (const auto& [slot, folder] : tables.deleted_folders.listed()) {
    lines.push_back(format_line(deletion_text(folder), kOtherTextWidth,
                                kFolderIndexBase + static_cast<long>(slot)));
  }
  return lines;
}

void fill_list1(Window& window, const WorkTables& tables, const Roots& roots) {
  window.list_fill(Control::List1, list1_lines(tables, roots));
}

void fill_list2(Window& window, const WorkTables& tables) {
  window.list_fill(Control::List2, list2_lines(tables));
}

LineTarget read_line(std::string_view line) {
  const std::string_view field =
      line.size() > kIndexWidth ? line.substr(line.size() - kIndexWidth) : line;
  const long index = numeric_value(field);
  if (index < kFolderIndexThreshold) return {false, index};
  if (index >= kMoveIndexBase) return {false, index - kMoveIndexBase, false, true};
  if (index >= kRenameIndexBase) return {false, index - kRenameIndexBase, true};
  return {true, index - kFolderIndexBase};
}

}  // namespace tav
