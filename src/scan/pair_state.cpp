#include "scan/pair_state.h"

#include <set>

#include "files/operations.h"
#include "platform/text.h"
#include "platform/name_fold.h"
#include "volume_state/record_making.h"
#include "volume_state/state_layout.h"

namespace tav {

namespace {

class Quiet final : public ScanProgress {
 public:
  void searching(std::string_view) override {}
  void between_steps() override {}
};

bool ignores_case(const TreeSnapshot& a, const TreeSnapshot& b) {
  return a.ignores_case || b.ignores_case;
}

std::string compared(std::string_view name, bool case_blind) {
  return case_blind ? fold_case(name) : std::string(name);
}

// The names of the root's folders (not links) as the pair compares them.
std::set<std::string> top_folders(const TreeSnapshot& tree, bool case_blind) {
  std::set<std::string> names;
  if (tree.folders.empty()) return names;
  for (const ListedEntry& entry : tree.folders[0].entries) {
    if (entry.folder && !entry.link && !state::is_state_folder_name(entry.name)) {
      names.insert(compared(entry.name, case_blind));
    }
  }
  return names;
}

std::string_view last_name(std::string_view path) {
  const auto cut = path.rfind(kPathSeparator);
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

// Calls visit(relative path, entry or null for a folder) for every folder
// and file of the walked tree's first-level folders that take part.
template <typename Visit>
void for_each_taking_part(const TreeSnapshot& walked, const TreeSnapshot& other, Visit visit) {
  if (walked.folders.empty()) return;
  const std::size_t root_length = walked.folders[0].path.size() + 1;
  const bool case_blind = ignores_case(walked, other);
  const std::set<std::string> other_tops = top_folders(other, case_blind);
  std::vector<bool> part(walked.folders.size(), false);
  for (std::size_t i = 1; i < walked.folders.size(); ++i) {
    const TreeFolder& folder = walked.folders[i];
    const std::string_view name = last_name(folder.path);
    part[i] = folder.level > 2 ? part[folder.parent]
                               : !state::is_state_folder_name(name) &&
                                     other_tops.contains(compared(name, case_blind));
    if (!part[i]) continue;
    const std::string rel = folder.path.substr(root_length);
    visit(rel, nullptr);
    for (const ListedEntry& entry : folder.entries) {
      if (entry.folder || is_temporary_name(entry.name)) continue;
      visit(rel + kPathSeparator + entry.name, &entry);
    }
  }
}

}  // namespace

state::RunRecord record_of(const BothTrees& trees, std::string key) {
  state::RecordMaking making(ignores_case(trees.folder, trees.drive));
  const auto take = [&](const TreeSnapshot& walked, const TreeSnapshot& other, bool folder_side) {
    for_each_taking_part(walked, other, [&](const std::string& rel, const ListedEntry* file) {
      making.add(rel, folder_side, file ? std::optional(file->version()) : std::nullopt);
    });
  };
  take(trees.folder, trees.drive, true);
  take(trees.drive, trees.folder, false);
  return making.take(std::move(key));
}

state::RunRecord record_of_trees_now(const Roots& roots, std::string key) {
  Quiet quiet;
  return record_of(read_both_trees(roots.drive_root, roots.folder_root, quiet), std::move(key));
}

std::size_t files_taking_part(const TreeSnapshot& walked, const TreeSnapshot& other) {
  std::size_t files = 0;
  for_each_taking_part(walked, other, [&](const std::string&, const ListedEntry* file) {
    if (file) ++files;
  });
  return files;
}

}  // namespace tav
