#include "scan/move_finding.h"

#include <algorithm>
#include <optional>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "files/read_back.h"
#include "platform/text.h"

namespace tav {

namespace {

// Listed entries by their paths relative to both roots, in byte order: the
// entries below a folder lie together.
struct PathSlot {
  std::string path;
  std::size_t slot = 0;
  auto operator<=>(const PathSlot&) const = default;
};
using Sorted = std::vector<PathSlot>;

template <typename Table, typename PathOf>
Sorted sorted_listed(const Table& table, PathOf path_of) {
  Sorted sorted;
  for (const auto& [slot, entry] : table.listed()) sorted.push_back({path_of(entry), slot});
  std::ranges::sort(sorted);
  return sorted;
}

std::span<const PathSlot> below(const Sorted& sorted, const std::string& folder) {
  const std::string prefix = folder + kPathSeparator;
  const auto first = std::ranges::lower_bound(sorted, prefix, {}, &PathSlot::path);
  auto last = first;
  while (last != sorted.end() && last->path.starts_with(prefix)) ++last;
  return {first, last};
}

const PathSlot* find_path(const Sorted& sorted, const std::string& path) {
  const auto found = std::ranges::lower_bound(sorted, path, {}, &PathSlot::path);
  return found != sorted.end() && found->path == path ? &*found : nullptr;
}

struct FileMove {
  std::string from, to;
  std::size_t deletion = 0, copy = 0;
  std::optional<std::uint64_t> content;
  bool in_a_folder = false;  // a folder's move carries it
};

class MoveFinder {
 public:
  MoveFinder(WorkTables& tables, const Roots& roots, const state::RunRecord& record,
             std::uint64_t source_volume)
      : tables_(tables),
        roots_(roots),
        record_(record),
        identities_(source_volume != 0 &&
                    source_volume == roots.source(record.volumes().folder, record.volumes().drive)) {}

  std::size_t find() {
    pair_the_files();
    if (files_.empty()) return 0;
    find_folder_moves();
    for (FileMove& file : files_) {
      tables_.copies.at(file.copy).written_hash = file.content;
      if (!file.in_a_folder) list({file.from, file.to, false, {file.copy}, {}, {file.deletion}, {}});
    }
    return tables_.moves.count();
  }

 private:
  std::string relative(const std::string& path) const {
    return path.substr(roots_.destination_root().size());
  }

  // A file the record knows at its old place, the destination's file there
  // exactly as the record says.
  struct Gone {
    std::size_t slot;
    FileVersion was;
    std::uint64_t identity;
    std::optional<std::uint64_t> content;
    std::size_t matches = 0;
  };

  std::vector<Gone> files_gone(std::unordered_multimap<std::uint64_t, std::size_t>& by_size) const {
    std::vector<Gone> gone;
    for (const auto& [slot, file] : tables_.deleted_files.listed()) {
      const state::RecordedSides* recorded = record_.find(relative(file.path));
      if (!recorded || recorded->folder) continue;
      const auto& was = roots_.source(recorded->folder_side, recorded->drive_side);
      const auto& left = roots_.destination(recorded->folder_side, recorded->drive_side);
      if (!was || !left || !alike(file.seen, *left)) continue;
      by_size.emplace(was->size, gone.size());
      gone.push_back({slot, *was, roots_.source(recorded->folder_identity, recorded->drive_identity),
                      recorded->content});
    }
    return gone;
  }

  bool same_file(const Gone& gone, const FileVersion& now, std::uint64_t identity) const {
    if (!same_time(gone.was.written.seconds, now.written.seconds)) return false;
    return !identities_ || gone.identity == 0 || identity == 0 || gone.identity == identity;
  }

  // Size and time alone may name another file of that size and time. The
  // same file has the same identity, on a volume where identities last, and
  // the same write time to the fraction of a second (a deleted file's number
  // soon goes to a new file, but not its time; a time of whole seconds, as
  // archives and FAT give, proves nothing). Else the source's bytes must be
  // those the record's hash names, or without one those the destination's
  // file holds.
  bool proven(const Gone& gone, const CopyEntry& copy, const FileVersion& now) {
    if (identities_ && gone.identity != 0 && gone.identity == copy.source_identity &&
        gone.was == now && now.written.nanoseconds != 0) {
      return true;
    }
    const auto bytes = reading_.hash(roots_.source_root() + copy.path);
    if (!bytes) return false;
    if (gone.content) return *bytes == *gone.content;
    return reading_.hash(tables_.deleted_files[gone.slot].path) == bytes;
  }

  // Each file the source holds where the record knows nothing, new on the
  // destination, against the files gone: a move where each has one match,
  // and where size, time and identity leave several, the one whose bytes
  // the record's hash names (the same name first among equal bytes).
  void pair_the_files() {
    std::unordered_multimap<std::uint64_t, std::size_t> by_size;
    std::vector<Gone> gone = files_gone(by_size);
    if (gone.empty()) return;
    std::vector<Arrival> arrivals;
    for (const auto& [slot, copy] : tables_.copies.listed()) {
      const auto& now = roots_.source(copy.left_seen, copy.right_seen);
      if (!now || roots_.destination(copy.left_seen, copy.right_seen) || record_.find(copy.path)) {
        continue;
      }
      Arrival arrival{slot, *now, {}};
      const auto [first, last] = by_size.equal_range(now->size);
      for (auto it = first; it != last; ++it) {
        if (!same_file(gone[it->second], *now, copy.source_identity)) continue;
        arrival.candidates.push_back(it->second);
        ++gone[it->second].matches;
      }
      if (!arrival.candidates.empty()) arrivals.push_back(std::move(arrival));
    }
    std::vector<bool> taken(gone.size(), false);
    std::vector<const Arrival*> open;
    for (const Arrival& arrival : arrivals) {
      const std::size_t only = arrival.candidates.front();
      if (arrival.candidates.size() > 1 || gone[only].matches > 1) {
        open.push_back(&arrival);
      } else if (apart(gone[only], arrival.slot) &&
                 proven(gone[only], tables_.copies[arrival.slot], arrival.now)) {
        pair(gone[only], arrival.slot);
        taken[only] = true;
      }
    }
    for (const Arrival* arrival : open) {
      const auto match = by_bytes(*arrival, gone, taken);
      if (match && apart(gone[*match], arrival->slot)) {
        pair(gone[*match], arrival->slot);
        taken[*match] = true;
      }
    }
  }

  struct Arrival {
    std::size_t slot;
    FileVersion now;
    std::vector<std::size_t> candidates;  // in gone
  };

  // Among candidates not yet taken, all with the record's hash of their
  // bytes: one whose bytes the source's file holds, of its name if any is.
  std::optional<std::size_t> by_bytes(const Arrival& arrival, const std::vector<Gone>& gone,
                                      const std::vector<bool>& taken) {
    std::vector<std::size_t> left;
    for (const std::size_t candidate : arrival.candidates) {
      if (!taken[candidate]) left.push_back(candidate);
    }
    if (left.empty() || std::ranges::any_of(left, [&](std::size_t c) { return !gone[c].content; })) {
      return std::nullopt;
    }
    const CopyEntry& copy = tables_.copies[arrival.slot];
    const auto bytes = reading_.hash(roots_.source_root() + copy.path);
    if (!bytes) return std::nullopt;
    std::optional<std::size_t> found;
    for (const std::size_t candidate : left) {
      if (gone[candidate].content != bytes) continue;
      const std::string& old_path = tables_.deleted_files[gone[candidate].slot].path;
      if (last_name(old_path) == last_name(copy.path)) return candidate;
      if (!found) found = candidate;
    }
    return found;
  }

  static std::string_view last_name(std::string_view path) {
    return path.substr(path.rfind(kPathSeparator) + 1);
  }

  // A file that moved into a folder of its own name, or out of one, stands
  // in its own way: a copy and a deletion make that change.
  bool apart(const Gone& file, std::size_t copy) const {
    const std::string from = relative(tables_.deleted_files[file.slot].path);
    const std::string& to = tables_.copies[copy].path;
    return !lies_below(to, from) && !lies_below(from, to);
  }

  void pair(const Gone& file, std::size_t copy) {
    const std::string from = relative(tables_.deleted_files[file.slot].path);
    from_.emplace(from, files_.size());
    files_.push_back({from, tables_.copies[copy].path, file.slot, copy, file.content});
  }

  const FileMove* move_from(const std::string& path) const {
    const auto found = from_.find(path);
    return found == from_.end() ? nullptr : &files_[found->second];
  }

  // Outermost first: a folder listed for removal whose every file moved
  // into one new folder, at the same places below it, with every folder
  // below it made there and nothing else arriving there.
  void find_folder_moves() {
    const std::size_t root = roots_.destination_root().size();
    const auto rel = [root](const std::string& full) { return full.substr(root); };
    const Sorted gone_files = sorted_listed(tables_.deleted_files,
                                            [&](const FileDeletion& file) { return rel(file.path); });
    const Sorted gone_folders = sorted_listed(tables_.deleted_folders, rel);
    const Sorted new_files =
        sorted_listed(tables_.copies, [](const CopyEntry& copy) { return copy.path; });
    const Sorted new_folders = sorted_listed(tables_.new_folders, rel);
    std::vector<std::string> moved;
    for (const auto& [slot, full] : tables_.deleted_folders.listed()) {
      const std::string folder = rel(full);
      if (std::ranges::any_of(moved, [&](const std::string& m) { return lies_below(folder, m); })) {
        continue;
      }
      const auto files = below(gone_files, folder);
      if (files.empty()) continue;
      const FileMove* first = move_from(files.front().path);
      if (!first) continue;
      const std::string_view tail = std::string_view(first->from).substr(folder.size());
      if (!first->to.ends_with(tail)) continue;
      const std::string to = first->to.substr(0, first->to.size() - tail.size());
      // Nothing may stand at the new place: no file the run deletes later,
      // nothing the record knows.
      const PathSlot* made = find_path(new_folders, to);
      if (!made || lies_below(to, folder) || lies_below(folder, to) ||
          find_path(gone_files, to) || record_.find(to)) {
        continue;
      }
      const auto same_below = [&](std::span<const PathSlot> old_paths,
                                  std::span<const PathSlot> new_paths) {
        if (old_paths.size() != new_paths.size()) return false;
        for (std::size_t i = 0; i < old_paths.size(); ++i) {
          if (new_paths[i].path != to + old_paths[i].path.substr(folder.size())) return false;
        }
        return true;
      };
      const auto arriving = below(new_files, to);
      const auto folders_gone = below(gone_folders, folder);
      const auto folders_made = below(new_folders, to);
      if (!same_below(files, arriving) || !same_below(folders_gone, folders_made)) continue;
      if (!std::ranges::all_of(files, [&](const PathSlot& file) {
            const FileMove* move = move_from(file.path);
            return move && move->to == to + file.path.substr(folder.size());
          })) {
        continue;
      }
      Move whole{folder, to, true, {}, {made->slot}, {}, {slot}};
      for (const PathSlot& file : files) {
        const FileMove& move = files_[from_.at(file.path)];
        whole.copies.push_back(move.copy);
        whole.deleted_files.push_back(move.deletion);
        files_[from_.at(file.path)].in_a_folder = true;
      }
      for (const PathSlot& below_made : folders_made) whole.new_folders.push_back(below_made.slot);
      for (const PathSlot& below_gone : folders_gone) whole.deleted_folders.push_back(below_gone.slot);
      list(std::move(whole));
      moved.push_back(folder);
    }
  }

  void list(Move move) {
    for (const std::size_t slot : move.copies) tables_.copies.stand_in_move(slot);
    for (const std::size_t slot : move.new_folders) tables_.new_folders.stand_in_move(slot);
    for (const std::size_t slot : move.deleted_files) tables_.deleted_files.stand_in_move(slot);
    for (const std::size_t slot : move.deleted_folders) tables_.deleted_folders.stand_in_move(slot);
    tables_.moves.append(std::move(move));
  }

  WorkTables& tables_;
  const Roots& roots_;
  const state::RunRecord& record_;
  const bool identities_;  // the record's identities and the source's are one volume's
  ReadBackCheck reading_;
  std::vector<FileMove> files_;
  std::unordered_map<std::string, std::size_t> from_;  // files_ by their old paths
};

}  // namespace

std::size_t find_moves(WorkTables& tables, const Roots& roots, const state::RunRecord& record,
                       std::uint64_t source_volume) {
  return MoveFinder(tables, roots, record, source_volume).find();
}

}  // namespace tav
