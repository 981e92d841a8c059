#include "support/reference_scan.h"

#include "files/operations.h"
#include "platform/folder_reading.h"
#include "platform/local_time.h"
#include "platform/text.h"

namespace tav::test {

namespace {

std::string copy_text(std::string_view path, std::string_view left, std::string_view right) {
  return std::string(path) + "|" + std::string(left) + "|" + std::string(right);
}

std::vector<ListedEntry> listing(const std::string& folder) {
  std::vector<ListedEntry> entries;
  read_folder(folder, entries);
  return entries;
}

void walk(const std::string& folder, std::vector<std::string>& folders) {
  folders.push_back(folder);
  for (const ListedEntry& entry : listing(folder)) {
    if (entry.folder && !entry.link) walk(folder + kPathSeparator + entry.name, folders);
  }
}

std::string date_of(const ListedEntry& entry) {
  return date_text(local_stamp(entry.written.seconds));
}

// Seconds of a local date and time as the scan keys them.
double key(const ListedEntry& entry) {
  const LocalStamp at = local_stamp(entry.written.seconds);
  return at.year * 1000000000.0 + at.month * 10000000.0 + at.day * 100000.0 + at.hour * 3600.0 +
         at.minute * 60.0 + at.second;
}

bool is_dot_name(std::string_view name) {
  const std::string_view trimmed = trim_blanks(name);
  return trimmed == "." || trimmed == "..";
}

bool pass(const std::string& walked, const std::string& other, bool walked_is_source,
          bool walked_is_drive, ListedWork& work) {
  std::string root = walked;
  root.pop_back();
  std::vector<std::string> folders;
  walk(root, folders);
  if (folders.size() < 2) return false;
  for (std::size_t i = 1; i < folders.size(); ++i) {
    const std::string rel(drop_chars(folders[i], char_count(walked)));
    if (!folder_exists(other + rel.substr(0, rel.find(kPathSeparator)))) continue;
    if (!folder_exists(other + rel)) {
      if (walked_is_source) {
        work.new_folders.push_back(other + rel);
      } else {
        work.deleted_folders.push_back(walked + rel);
      }
    }
    for (const ListedEntry& entry : listing(walked + rel)) {
      if (entry.folder || is_dot_name(entry.name)) continue;
      const std::string file = rel + kPathSeparator + entry.name;
      if (!file_exists(other + file)) {
        if (!walked_is_source) {
          work.deleted_files.push_back(walked + file);
        } else {
          work.copies.push_back(walked_is_drive ? copy_text(file, "", date_of(entry))
                                                : copy_text(file, date_of(entry), ""));
        }
        continue;
      }
      if (!walked_is_drive) continue;
      const auto there = entry_at(other + file);
      const bool newer = walked_is_source ? key(entry) > key(*there) + 3 : key(*there) > key(entry) + 3;
      if (newer) work.copies.push_back(copy_text(file, date_of(*there), date_of(entry)));
    }
  }
  return true;
}

}  // namespace

ListedWork listed_work(const WorkTables& tables) {
  ListedWork work;
  for (std::size_t slot = 1; slot <= tables.copies.count(); ++slot) {
    const CopyEntry& entry = tables.copies[slot];
    work.copies.push_back(copy_text(entry.path, entry.left_date, entry.right_date));
  }
  for (std::size_t slot = 1; slot <= tables.new_folders.count(); ++slot) {
    work.new_folders.push_back(tables.new_folders[slot]);
  }
  for (std::size_t slot = 1; slot <= tables.deleted_files.count(); ++slot) {
    work.deleted_files.push_back(tables.deleted_files[slot].path);
  }
  for (std::size_t slot = 1; slot <= tables.deleted_folders.count(); ++slot) {
    work.deleted_folders.push_back(tables.deleted_folders[slot]);
  }
  return work;
}

ListedWork reference_scan(const Roots& roots) {
  const bool to_drive = roots.direction == Direction::FolderToDrive;
  ListedWork work;
  if (!pass(roots.drive_root, roots.folder_root, !to_drive, true, work) ||
      !pass(roots.folder_root, roots.drive_root, to_drive, false, work)) {
    return {};
  }
  return work;
}

}  // namespace tav::test
