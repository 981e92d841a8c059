// Which entry of the other tree each folder and file of a walked tree
// stands against. Names match when they are the same in their composed
// Unicode form (a Mac writes "が" decomposed, Windows and Linux composed):
// to the user they are one name on every volume. Where either volume looks
// names up without regard to case, a name that differs only in case matches
// too, once the look-up on that volume confirms it: such a volume cannot
// hold both spellings. Two entries of one folder that are the same name by
// these rules, on either side, make their whole group stand against
// nothing: it takes no part, and is named once. Folders whose names all
// have a partner of the same bytes on the other side are paired so, and
// their names are never folded (two such names on each side are two
// entries, each with its own partner). A folder that is a link on
// the other side, or lies below one, stands against nothing and takes no
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
  // source's spelling where a file stands against a file or a folder against
  // a folder (the destination's entry takes that spelling by a rename before
  // anything below it is done), else the walked name.
  const std::string& spelling(std::size_t entry) const;
  // The entry is one of two or more of one name on a side: it and what
  // stands against it take no part.
  bool left_out(std::size_t entry) const { return !flags_.empty() && (flags_[entry] & kLeftOut); }
  // Of a group left out, the entry that names it: the source's first entry
  // of the group in byte order, or the destination's where the source holds
  // none.
  bool names_group(std::size_t entry) const {
    return !flags_.empty() && (flags_[entry] & kNamesGroup);
  }
  // Of a group left out, whether the other side holds an entry of it.
  bool group_meets_other(std::size_t entry) const {
    return !flags_.empty() && (flags_[entry] & kMeetsOther);
  }

 private:
  friend class TreePairing;
  static constexpr std::uint8_t kLeftOut = 1, kNamesGroup = 2, kMeetsOther = 4;
  const TreeFolder* walked_ = nullptr;
  const TreeFolder* other_ = nullptr;  // none when the folder has no counterpart
  std::vector<std::int32_t> counterparts_;  // per walked entry; -1 for none
  std::vector<std::uint8_t> flags_;         // per walked entry; empty when no group is left out
  std::unordered_map<std::size_t, std::string> spellings_;  // where not the walked name
};

class TreePairing {
 public:
  // walked_is_source: the walked tree is the run's source, whose spelling
  // the paths take.
  TreePairing(const TreeSnapshot& walked, const TreeSnapshot& other, bool walked_is_source);

  // The first-level folder that holds the folder (or the folder itself).
  std::size_t top_of(std::size_t folder) const;
  // False when the folder, or a folder above it, is a link in the other
  // tree or was left out as one of two of one name.
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
    bool folder = false;    // a folder stands there
    bool link = false;      // a link stands there, or above it
    bool left_out = false;  // it, or a folder above it, is one of two of one name
    std::optional<std::size_t> other;  // its index in the other tree, when it was read
    std::string relative_path;
  };

  Counterpart& counterpart_of(std::size_t folder);
  FolderPairing pair(std::size_t folder);
  bool pair_exactly(FolderPairing& pairing) const;
  void pair_by_folded_names(FolderPairing& pairing) const;
  bool same_name_confirmed(const std::string& walked_folder, const std::string& walked_name,
                           const std::string& other_folder, const std::string& other_name) const;

  const TreeSnapshot& walked_;
  const TreeSnapshot& other_;
  bool walked_is_source_;
  bool case_blind_;  // names that differ only in case may match
  std::vector<Counterpart> folders_;
  std::vector<std::optional<FolderPairing>> pairings_;
  // The other tree's folders by the folder and entry that list them.
  std::unordered_map<std::uint64_t, std::size_t> other_folder_at_;
};

}  // namespace tav
