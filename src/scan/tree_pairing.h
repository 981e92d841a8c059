// Which entry of the other tree each folder and file of a walked tree
// stands against. Names match exactly; where either volume looks names up
// without regard to case, a name that differs only in case matches too,
// once the look-up on that volume confirms it: such a volume cannot hold
// both spellings, so they are one entry to the user. A folder that is a link
// on the other side, or lies below one, stands against nothing and takes no
// part, so that nothing is ever written or deleted through a link.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "scan/tree_snapshot.h"

namespace tav {

// The entries of one walked folder against its counterpart folder.
class FolderPairing {
 public:
  // The other tree's entry that the walked folder's entry stands against.
  const ListedEntry* counterpart(std::size_t entry) const;
  // The name to write for the entry in paths that serve both trees: the
  // walked name, or the other tree's where only that tree tells case apart.
  const std::string& spelling(std::size_t entry) const;

 private:
  friend class TreePairing;
  const TreeFolder* walked_ = nullptr;
  const TreeFolder* other_ = nullptr;  // none when the folder has no counterpart
  std::vector<std::int32_t> counterparts_;  // per walked entry; -1 for none
  std::unordered_map<std::size_t, std::string> spellings_;  // where not the walked name
};

class TreePairing {
 public:
  TreePairing(const TreeSnapshot& walked, const TreeSnapshot& other);

  // The first-level folder that holds the folder (or the folder itself).
  std::size_t top_of(std::size_t folder) const;
  // False when the folder, or a folder above it, is a link in the other tree.
  bool takes_part(std::size_t folder);
  // Whether the folder exists as a folder (not a link) in the other tree.
  bool has_folder_counterpart(std::size_t folder);
  // The folder's path relative to both roots, spelled for both.
  const std::string& relative_path(std::size_t folder);
  const FolderPairing& entries_of(std::size_t folder);

 private:
  // What a walked folder stands against in the other tree.
  struct Counterpart {
    bool known = false;
    bool folder = false;  // a folder stands there
    bool link = false;    // a link stands there, or above it
    std::optional<std::size_t> other;  // its index in the other tree, when it was read
    std::string relative_path;
  };

  Counterpart& counterpart_of(std::size_t folder);
  FolderPairing pair(std::size_t folder);

  const TreeSnapshot& walked_;
  const TreeSnapshot& other_;
  bool case_blind_;  // names that differ only in case may match
  std::vector<Counterpart> folders_;
  std::vector<std::optional<FolderPairing>> pairings_;
  // The other tree's folders by the folder and entry that list them.
  std::unordered_map<std::uint64_t, std::size_t> other_folder_at_;
};

}  // namespace tav
