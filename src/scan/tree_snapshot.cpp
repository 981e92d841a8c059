#include "scan/tree_snapshot.h"

#include <algorithm>

#include "files/operations.h"
#include "platform/text.h"
#include "platform/name_fold.h"
#include "volume_state/state_layout.h"

namespace tav {

namespace {

// The pattern a listing of the folder stands for: longer ones the system
// refuses.
bool can_be_listed(const std::string& folder) {
  return cp932_length(folder) + 2 <= kMaxPathBytes;  // the separator and "*"
}

// A subfolder the walk goes into: no link, and not the program's state at
// the root, which never takes part.
bool enters(const ListedEntry& sub, std::size_t level) {
  return sub.folder && !sub.link && !(level == 1 && state::is_state_folder_name(sub.name));
}

class TreeReader {
 public:
  TreeReader(TreeSnapshot& tree, const std::function<void(const std::string&)>& on_folder,
             const TreeLimits& limits)
      : tree_(tree), on_folder_(on_folder), limits_(limits) {}

  // False once the walk is over its limits.
  bool visit(std::string path, std::size_t parent, std::size_t entry, std::size_t level) {
    if (level > limits_.depth || tree_.folders.size() >= limits_.folders) {
      tree_.over_limits = true;
      return false;
    }
    const std::size_t index = tree_.folders.size();
    tree_.folders.push_back({std::move(path), index == 0 ? 0 : parent, entry, level});
    TreeFolder& folder = tree_.folders.back();
    if (on_folder_) on_folder_(folder.path);
    if (can_be_listed(folder.path)) folder.listed = read_folder(folder.path, folder.entries);
    // The folder's own entries stay where they are while its subfolders are
    // appended after it: walk them by index.
    for (std::size_t i = 0; i < tree_.folders[index].entries.size(); ++i) {
      const ListedEntry& sub = tree_.folders[index].entries[i];
      if (!enters(sub, level)) continue;
      std::string sub_path = tree_.folders[index].path + kPathSeparator + sub.name;
      if (!visit(std::move(sub_path), index, i, level + 1)) return false;
    }
    return true;
  }

 private:
  TreeSnapshot& tree_;
  const std::function<void(const std::string&)>& on_folder_;
  const TreeLimits& limits_;
};

// Asks the file system: a name whose letters have their case swapped, and
// which the folder does not hold as such, is found by the look-up only where
// look-ups ignore case. The first folder with such a name answers.
bool ignores_case(const TreeSnapshot& tree) {
  if (kLookupsIgnoreCase) return true;
  for (const TreeFolder& folder : tree.folders) {
    for (const ListedEntry& entry : folder.entries) {
      const std::string swapped = swap_case(entry.name);
      if (swapped == entry.name) continue;
      const bool held = std::ranges::any_of(
          folder.entries, [&](const ListedEntry& other) { return other.name == swapped; });
      if (held) continue;
      return lookup_finds(folder.path, swapped);
    }
  }
  return false;
}

}  // namespace

TreeSnapshot read_tree(std::string_view root,
                       const std::function<void(const std::string& folder)>& on_folder,
                       const TreeLimits& limits) {
  std::string path(root);
  if (!path.empty() && path.back() == kPathSeparator) path.pop_back();
  TreeSnapshot tree;
  TreeReader(tree, on_folder, limits).visit(std::move(path), 0, 0, 1);
  if (!tree.over_limits) tree.ignores_case = ignores_case(tree);
  return tree;
}

}  // namespace tav
