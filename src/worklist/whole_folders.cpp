#include "worklist/whole_folders.h"

#include <algorithm>
#include <functional>

#include "platform/folder_reading.h"
#include "platform/text.h"

namespace tav {

void WholeFolders::index() {
  indexed_ = true;
  for (const auto& [slot, folder] : tables_.deleted_folders.listed()) folders_.emplace(folder, slot);
  if (folders_.empty()) return;
  const auto count_above = [&](const std::string& path, std::size_t Below::*kind) {
    for (std::string above(folder_of(path)); folders_.contains(above);
         above = std::string(folder_of(above))) {
      ++(listed_below_[above].*kind);
    }
  };
  for (const auto& [slot, file] : tables_.deleted_files.listed()) {
    files_.emplace(file.path, slot);
    count_above(file.path, &Below::files);
  }
  for (const auto& [folder, slot] : folders_) count_above(folder, &Below::folders);
}

std::optional<WholeFolder> WholeFolders::may_go_whole_above(const std::string& path) {
  if (!indexed_) index();
  std::optional<std::string> top;
  for (std::string above(folder_of(path)); folders_.contains(above);
       above = std::string(folder_of(above))) {
    top = above;
  }
  if (!top || !looked_at_.insert(*top).second) return std::nullopt;
  const auto there = entry_at(*top);
  if (!there || !there->folder || there->link) return std::nullopt;
  WholeFolder found{*top, {}, {}};
  if (!holds_only_what_is_listed(*top, found)) return std::nullopt;
  const Below& listed = listed_below_[*top];
  if (found.files.size() != listed.files || found.folders.size() != listed.folders) {
    return std::nullopt;
  }
  found.folders.push_back(folders_.at(*top));
  std::ranges::sort(found.files);
  std::ranges::sort(found.folders, std::greater<>());
  return found;
}

bool WholeFolders::holds_only_what_is_listed(const std::string& folder,
                                             WholeFolder& found) const {
  std::vector<ListedEntry> entries;
  if (!read_folder(folder, entries)) return false;
  for (const ListedEntry& entry : entries) {
    const std::string path = folder + kPathSeparator + entry.name;
    if (entry.link) return false;
    if (entry.folder) {
      const auto listed = folders_.find(path);
      if (listed == folders_.end() || !tables_.deleted_folders.is_listed(listed->second)) {
        return false;
      }
      found.folders.push_back(listed->second);
      if (!holds_only_what_is_listed(path, found)) return false;
    } else {
      const auto listed = files_.find(path);
      if (listed == files_.end() || !tables_.deleted_files.is_listed(listed->second) ||
          tables_.deleted_files[listed->second].seen != entry.version()) {
        return false;
      }
      found.files.push_back(listed->second);
    }
  }
  return true;
}

}  // namespace tav
