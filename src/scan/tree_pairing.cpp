#include "scan/tree_pairing.h"

#include <string_view>

#include "platform/text.h"
#include "platform/name_fold.h"

namespace tav {

namespace {

std::uint64_t key_of(std::size_t folder, std::size_t entry) {
  return (static_cast<std::uint64_t>(folder) << 32) | static_cast<std::uint64_t>(entry);
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

TreePairing::TreePairing(const TreeSnapshot& walked, const TreeSnapshot& other)
    : walked_(walked),
      other_(other),
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
  const ListedEntry* there = siblings.counterpart(walked.entry);
  if (found.link || !there || !there->folder) return found;
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

bool TreePairing::takes_part(std::size_t folder) { return !counterpart_of(folder).link; }

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
  if (!found.folder || found.link || !found.other) return pairing;
  const TreeFolder& other = other_.folders[*found.other];
  pairing.other_ = &other;

  std::unordered_map<std::string_view, std::int32_t> by_name;
  for (std::size_t i = 0; i < other.entries.size(); ++i) {
    by_name.emplace(other.entries[i].name, static_cast<std::int32_t>(i));
  }
  std::unordered_map<std::string, std::int32_t> by_folded;
  for (std::size_t i = 0; i < walked.entries.size(); ++i) {
    const std::string& name = walked.entries[i].name;
    if (const auto exact = by_name.find(name); exact != by_name.end()) {
      pairing.counterparts_[i] = exact->second;
      continue;
    }
    if (!case_blind_) continue;
    if (by_folded.empty()) {
      for (std::size_t k = 0; k < other.entries.size(); ++k) {
        by_folded.emplace(fold_case(other.entries[k].name), static_cast<std::int32_t>(k));
      }
    }
    const auto folded = by_folded.find(fold_case(name));
    if (folded == by_folded.end()) continue;
    const std::string& other_name = other.entries[static_cast<std::size_t>(folded->second)].name;
    // The volume that ignores case has the last word.
    const bool confirmed = other_.ignores_case ? lookup_finds(other.path, name)
                                               : lookup_finds(walked.path, other_name);
    if (!confirmed) continue;
    pairing.counterparts_[i] = folded->second;
    if (!other_.ignores_case) pairing.spellings_[i] = other_name;
  }
  return pairing;
}

}  // namespace tav
