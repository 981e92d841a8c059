#include "scan/tree_pairing.h"

#include <string_view>

#include "platform/name_fold.h"
#include "platform/text.h"

namespace tav {

namespace {

std::uint64_t key_of(std::size_t folder, std::size_t entry) {
  return (static_cast<std::uint64_t>(folder) << 32) | static_cast<std::uint64_t>(entry);
}

// A file against a file, or a folder against a folder: one entry whose
// spelling the destination takes.
bool same_kind(const ListedEntry& a, const ListedEntry& b) {
  return a.folder == b.folder && !a.link && !b.link;
}

}  // namespace

const ListedEntry* FolderPairing::counterpart(std::size_t entry) const {
  const std::int32_t other = counterparts_[entry];
  return other < 0 ? nullptr : &other_->entries[static_cast<std::size_t>(other)];
}

const std::string& FolderPairing::spelling(std::size_t entry) const {
  const auto spelled = spellings_.find(entry);
  return spelled == spellings_.end() ? walked_->entries[entry].name : spelled->second;
}

TreePairing::TreePairing(const TreeSnapshot& walked, const TreeSnapshot& other,
                         bool walked_is_source)
    : walked_(walked),
      other_(other),
      walked_is_source_(walked_is_source),
      case_blind_(walked.ignores_case || other.ignores_case),
      folders_(walked.folders.size()),
      pairings_(walked.folders.size()) {
  for (std::size_t i = 1; i < other.folders.size(); ++i) {
    other_folder_at_[key_of(other.folders[i].parent, other.folders[i].entry)] = i;
  }
  // The roots stand against each other.
  Counterpart& root = folders_[0];
  root.known = true;
  root.folder = !other.folders.empty();
  if (root.folder) root.other = 0;
}

std::size_t TreePairing::top_of(std::size_t folder) const {
  while (walked_.folders[folder].level > 2) folder = walked_.folders[folder].parent;
  return folder;
}

TreePairing::Counterpart& TreePairing::counterpart_of(std::size_t folder) {
  Counterpart& found = folders_[folder];
  if (found.known) return found;
  found.known = true;
  const TreeFolder& walked = walked_.folders[folder];
  const Counterpart& parent = counterpart_of(walked.parent);
  const FolderPairing& siblings = entries_of(walked.parent);
  found.relative_path = walked.parent == 0 ? std::string()
                                           : parent.relative_path + kPathSeparator;
  found.relative_path += siblings.spelling(walked.entry);
  found.link = parent.link;
  found.left_out = parent.left_out || siblings.left_out(walked.entry);
  const ListedEntry* there = siblings.counterpart(walked.entry);
  if (found.link || found.left_out || !there || !there->folder) return found;
  if (there->link) {
    found.link = true;
    return found;
  }
  found.folder = true;
  const auto index = other_folder_at_.find(
      key_of(*parent.other, static_cast<std::size_t>(siblings.counterparts_[walked.entry])));
  if (index != other_folder_at_.end()) found.other = index->second;
  return found;
}

bool TreePairing::takes_part(std::size_t folder) {
  const Counterpart& found = counterpart_of(folder);
  return !found.link && !found.left_out;
}

bool TreePairing::has_folder_counterpart(std::size_t folder) {
  const Counterpart& found = counterpart_of(folder);
  return found.folder && !found.link;
}

const std::string& TreePairing::relative_path(std::size_t folder) {
  return counterpart_of(folder).relative_path;
}

const FolderPairing& TreePairing::entries_of(std::size_t folder) {
  if (!pairings_[folder]) pairings_[folder] = pair(folder);
  return *pairings_[folder];
}

FolderPairing TreePairing::pair(std::size_t folder) {
  FolderPairing pairing;
  const TreeFolder& walked = walked_.folders[folder];
  pairing.walked_ = &walked;
  pairing.counterparts_.assign(walked.entries.size(), -1);
  const Counterpart& found = counterpart_of(folder);
  if (found.folder && !found.link && found.other) pairing.other_ = &other_.folders[*found.other];
  // Where every name on both sides has a partner of the same bytes, the
  // names are paired so and none is folded: most folders end here.
  if (!pair_exactly(pairing)) pair_by_folded_names(pairing);
  if (walked_is_source_) return pairing;
  for (std::size_t i = 0; i < walked.entries.size(); ++i) {
    const ListedEntry* there = pairing.counterpart(i);
    if (there && same_kind(walked.entries[i], *there) && there->name != walked.entries[i].name) {
      pairing.spellings_[i] = there->name;
    }
  }
  return pairing;
}

// Pairs the names of the same bytes; true when that leaves no name on
// either side without a partner.
bool TreePairing::pair_exactly(FolderPairing& pairing) const {
  const TreeFolder& walked = *pairing.walked_;
  if (!pairing.other_) return walked.entries.empty();
  const TreeFolder& other = *pairing.other_;
  if (walked.entries.size() != other.entries.size()) return false;
  std::unordered_map<std::string_view, std::int32_t> by_name;
  for (std::size_t k = 0; k < other.entries.size(); ++k) {
    by_name.emplace(other.entries[k].name, static_cast<std::int32_t>(k));
  }
  for (std::size_t i = 0; i < walked.entries.size(); ++i) {
    const auto exact = by_name.find(walked.entries[i].name);
    if (exact == by_name.end()) return false;
    pairing.counterparts_[i] = exact->second;
  }
  return true;  // as many names on each side, each with its partner
}

// Each folded name's entries on both sides: one on each is a pair, two or
// more on either leave the group out.
void TreePairing::pair_by_folded_names(FolderPairing& pairing) const {
  struct Group {
    std::int32_t first_walked = -1, other = -1;
    std::uint32_t walked = 0, others = 0;
  };
  const TreeFolder& walked = *pairing.walked_;
  const TreeFolder* other = pairing.other_;
  // The names as compared: composed, and their case folded where a volume
  // ignores case; kept here where they differ from the names (room for all
  // is made first, so that no string moves once it is looked at).
  std::vector<std::string> kept;
  kept.reserve(walked.entries.size() + (other ? other->entries.size() : 0));
  const auto compared = [&](const std::string& name) -> std::string_view {
    auto composed = recomposed(name);
    if (case_blind_) {
      kept.push_back(fold_case(composed ? *composed : name));
    } else if (composed) {
      kept.push_back(std::move(*composed));
    } else {
      return name;
    }
    return kept.back();
  };
  std::unordered_map<std::string_view, Group> groups;
  std::vector<Group*> group_of(walked.entries.size());
  for (std::size_t i = 0; i < walked.entries.size(); ++i) {
    Group& group = groups[compared(walked.entries[i].name)];
    // The first name in byte order names a group, whatever order the
    // system lists them in.
    if (group.walked++ == 0 ||
        walked.entries[i].name < walked.entries[static_cast<std::size_t>(group.first_walked)].name) {
      group.first_walked = static_cast<std::int32_t>(i);
    }
    group_of[i] = &group;
  }
  if (other) {
    for (std::size_t k = 0; k < other->entries.size(); ++k) {
      const auto group = groups.find(compared(other->entries[k].name));
      if (group == groups.end()) continue;
      ++group->second.others;
      group->second.other = static_cast<std::int32_t>(k);
    }
  }
  pairing.counterparts_.assign(walked.entries.size(), -1);
  for (std::size_t i = 0; i < walked.entries.size(); ++i) {
    const Group& group = *group_of[i];
    if (group.walked > 1 || group.others > 1) {
      if (pairing.flags_.empty()) pairing.flags_.assign(walked.entries.size(), 0);
      const bool names = group.first_walked == static_cast<std::int32_t>(i) &&
                         (walked_is_source_ || group.others == 0);
      pairing.flags_[i] = static_cast<std::uint8_t>(
          FolderPairing::kLeftOut | (names ? FolderPairing::kNamesGroup : 0) |
          (group.others > 0 ? FolderPairing::kMeetsOther : 0));
      continue;
    }
    if (group.others == 0) continue;
    const std::string& name = walked.entries[i].name;
    const std::string& other_name = other->entries[static_cast<std::size_t>(group.other)].name;
    if (!case_blind_ || name == other_name || compose(name) == compose(other_name) ||
        same_name_confirmed(walked.path, name, other->path, other_name)) {
      pairing.counterparts_[i] = group.other;
    }
  }
}

// Names that differ in case are one name where the volume that ignores
// case finds the one by the other: that volume has the last word.
bool TreePairing::same_name_confirmed(const std::string& walked_folder,
                                      const std::string& walked_name,
                                      const std::string& other_folder,
                                      const std::string& other_name) const {
  return other_.ignores_case ? lookup_finds(other_folder, walked_name)
                             : lookup_finds(walked_folder, other_name);
}

}  // namespace tav
