// A tree read whole before anything is decided about it: its folders in the
// order of the walk (the root first, then depth-first in pre-order, siblings
// in the order the system lists them), each with its listing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/folder_reading.h"

namespace tav {

inline constexpr std::size_t kMaxTreeFolders = 10000;  // the root included
inline constexpr std::size_t kMaxTreeDepth = 127;      // levels, the root being level 1

// How much of a tree a reading holds; the program reads with these defaults.
struct TreeLimits {
  std::size_t folders = kMaxTreeFolders;
  std::size_t depth = kMaxTreeDepth;
};

struct TreeFolder {
  std::string path;         // without a trailing separator
  std::size_t parent = 0;   // the folder that holds it; the root's is itself
  std::size_t entry = 0;    // its entry in the parent's listing
  std::size_t level = 1;    // the root is level 1
  bool listed = false;      // false when it could not be listed
  std::vector<ListedEntry> entries;
};

struct TreeSnapshot {
  std::vector<TreeFolder> folders;
  // The walk met more folders, or a deeper one, than it may hold, and ended
  // there.
  bool over_limits = false;
  // The volume looks names up without regard to case.
  bool ignores_case = false;
  // The volume's number where its entries keep their identity across a
  // rename (ListedEntry::identity); 0 where they do not.
  std::uint64_t identity_volume = 0;
};

// Walks the tree under root (with or without a trailing separator). Links to
// folders are neither recorded nor entered, so the walk never leaves the
// tree, nor is the program's state folder at the root (".tavrelon"); a folder whose listing pattern would be longer than the system
// accepts is recorded but not listed. on_folder is called with each folder
// before it is listed. Past the limits the walk ends (over_limits).
TreeSnapshot read_tree(std::string_view root,
                       const std::function<void(const std::string& folder)>& on_folder = {},
                       const TreeLimits& limits = {});

}  // namespace tav
