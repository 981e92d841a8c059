#include "support/reference_scan.h"

#include "files/operations.h"
#include "platform/text.h"
#include "scan/subdirs.h"

namespace tav::test {

namespace {

std::string copy_text(std::string_view path, std::string_view left, std::string_view right) {
  return std::string(path) + "|" + std::string(left) + "|" + std::string(right);
}

void walk(const std::string& folder, std::vector<std::string>& folders) {
  folders.push_back(folder);
  FolderListing listing(folder + kPathSeparator + "*");
  FolderEntry entry;
  while (listing.next(entry)) {
    if (!entry.is_folder() || entry.is_link || entry.name == "." || entry.name == "..") continue;
    walk(folder + kPathSeparator + entry.name, folders);
  }
}

// Seconds of a local date and time as the scan keys them.
double key(const FolderEntry& entry) {
  const auto number = [](std::string_view text) { return static_cast<double>(numeric_value(text)); };
  return number(entry.date.substr(0, 4)) * 1000000000 + number(entry.date.substr(5, 2)) * 10000000 +
         number(entry.date.substr(8, 2)) * 100000 + number(entry.time.substr(0, 2)) * 3600 +
         number(entry.time.substr(3, 2)) * 60 + number(entry.time.substr(6, 2));
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
    FolderListing listing(walked + rel + kPathSeparator + "*.*");
    FolderEntry entry;
    while (listing.next(entry)) {
      if (skip_entry(entry.name, entry.attributes)) continue;
      const std::string file = rel + kPathSeparator + entry.name;
      if (!file_exists(other + file)) {
        if (!walked_is_source) {
          work.deleted_files.push_back(walked + file);
        } else {
          work.copies.push_back(walked_is_drive ? copy_text(file, "", entry.date)
                                                : copy_text(file, entry.date, ""));
        }
        continue;
      }
      if (!walked_is_drive) continue;
      const auto there = look_up(other + file);
      const bool newer = walked_is_source ? key(entry) > key(*there) + 3 : key(*there) > key(entry) + 3;
      if (newer) work.copies.push_back(copy_text(file, there->date, entry.date));
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
