#include "volume_state/kept_runs.h"

#include <algorithm>

#include "files/operations.h"
#include "platform/system_files.h"
#include "platform/text.h"
#include "volume_state/state_access.h"

namespace tav::state {

namespace {

// A journal takes a line of some hundred bytes an action: this bounds what
// is read of one, and the memory a damaged one can take.
constexpr std::size_t kJournalLimit = std::size_t{64} << 20;

std::uint64_t in_whole_units(std::uint64_t size, std::uint64_t unit) {
  return unit == 0 ? size : (size + unit - 1) / unit * unit;
}

// Calls visit(rel, entry, reached) for every entry below rel beneath root,
// going only into real folders reached on the root's volume; a folder's
// entries come before the folder.
template <typename Visit>
void walk(std::string_view root, const std::string& rel, Visit visit) {
  std::vector<ListedEntry> entries;
  read_folder(at(root, rel), entries);
  for (const ListedEntry& entry : entries) {
    const std::string path = rel + kPathSeparator + entry.name;
    const Reached reached = reach(root, path);
    if (reached == Reached::Folder) walk(root, path, visit);
    visit(path, entry, reached);
  }
}

std::uint64_t room_of(const KeptRunFolder& run, std::uint64_t unit) {
  std::uint64_t room = 0;
  walk(run.root, run.rel(), [&](const std::string&, const ListedEntry& entry, Reached reached) {
    if (reached == Reached::File) room += in_whole_units(entry.size, unit);
  });
  return room;
}

}  // namespace

std::string new_run_name(std::string_view root, std::time_t when, std::string_view pair_id,
                         bool undo) {
  constexpr int kMostRunsASecond = 100;
  for (int n = 1; n <= kMostRunsASecond; ++n) {
    std::string name = run_name(when, pair_id, undo, n);
    switch (reach(root, layout::run_folder(name))) {
      case Reached::Missing:
        return name;
      case Reached::Folder:
      case Reached::File:
        continue;
      case Reached::Refused:
        break;
    }
    break;
  }
  refuse_state();
}

std::vector<KeptRunFolder> kept_runs(std::string_view root) {
  std::vector<KeptRunFolder> runs;
  if (reach(root, layout::kept_folder()) != Reached::Folder) return runs;
  std::vector<ListedEntry> entries;
  read_folder(at(root, layout::kept_folder()), entries);
  for (const ListedEntry& entry : entries) {
    auto run = parse_run_name(entry.name);
    if (!run || entry.link || reach(root, layout::run_folder(entry.name)) != Reached::Folder) {
      continue;
    }
    // A listing may leave a folder's times out: its own look-up has them.
    const auto own = entry_at(at(root, layout::run_folder(entry.name)));
    runs.push_back({std::string(root), entry.name, std::move(*run),
                    own ? own->written : entry.written});
  }
  std::ranges::sort(runs, {}, &KeptRunFolder::name);
  return runs;
}

Release runs_to_release(const std::vector<KeptRunFolder>& runs, std::int64_t now_seconds,
                        std::uint64_t allocation_unit, std::uint64_t room_wanted,
                        bool latest_too) {
  const std::size_t spared = runs.size() - std::min(runs.size(), kRunsAlwaysKept);
  const std::size_t may_go = latest_too ? runs.size() : spared;
  const std::int64_t limit = std::chrono::duration_cast<std::chrono::seconds>(kKeptFor).count();
  std::vector<bool> taken(may_go, false);
  Release release;
  const auto take = [&](std::size_t i) {
    taken[i] = true;
    release.runs.push_back(runs[i]);
    release.room += room_of(runs[i], allocation_unit);
  };
  for (std::size_t i = 0; i < spared; ++i) {
    if (now_seconds - runs[i].written.seconds > limit) take(i);
  }
  for (std::size_t i = 0; i < may_go && release.room < room_wanted; ++i) {
    if (!taken[i]) take(i);
  }
  std::ranges::sort(release.runs, {}, &KeptRunFolder::name);
  return release;
}

void release(const KeptRunFolder& run) {
  if (reach(run.root, run.rel()) != Reached::Folder) return;
  walk(run.root, run.rel(), [&](const std::string& rel, const ListedEntry& entry, Reached reached) {
    const std::string path = at(run.root, rel);
    if (reached == Reached::File) {
      sys::delete_file(path);
    } else if (reached == Reached::Folder) {
      sys::remove_folder(path);
    } else if (entry.link && sys::delete_file(path) != 0) {
      // A link goes itself, never what it leads to; a junction is removed
      // as a folder, which leaves its target as it is.
      sys::remove_folder(path);
    }
  });
  sys::remove_folder(at(run.root, run.rel()));
}

bool has_journal(const KeptRunFolder& run) {
  return reach(run.root, layout::journal(run.name)) != Reached::Missing ||
         reach(run.root, layout::journal_beside(run.name)) != Reached::Missing;
}

std::optional<Journal> journal_of(const KeptRunFolder& run) {
  std::string text;
  StateFile read = read_state_file(run.root, layout::journal(run.name), kJournalLimit, text);
  if (read == StateFile::Missing) {
    read = read_state_file(run.root, layout::journal_beside(run.name), kJournalLimit, text);
  }
  if (read != StateFile::Read) return std::nullopt;
  return parse_journal(text);
}

}  // namespace tav::state
