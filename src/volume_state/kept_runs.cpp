#include "volume_state/kept_runs.h"

#include <algorithm>

#include "files/operations.h"
#include "platform/system_files.h"
#include "platform/text.h"
#include "volume_state/kept_run.h"
#include "volume_state/state_folder.h"

namespace tav::state {

namespace {

constexpr std::string_view kUndoSuffix = "-undo";

std::uint64_t in_whole_units(std::uint64_t size, std::uint64_t unit) {
  return unit == 0 ? size : (size + unit - 1) / unit * unit;
}

template <typename Visit>
void walk(const std::string& folder, Visit visit) {
  std::vector<ListedEntry> entries;
  read_folder(folder, entries);
  for (const ListedEntry& entry : entries) {
    const std::string path = folder + kPathSeparator + entry.name;
    if (entry.folder && !entry.link) walk(path, visit);
    visit(path, entry);
  }
}

}  // namespace

std::vector<KeptRunFolder> kept_runs(std::string_view root) {
  const std::string kept = kept_folder(root);
  std::vector<ListedEntry> entries;
  read_folder(kept, entries);
  std::vector<KeptRunFolder> runs;
  for (const ListedEntry& entry : entries) {
    std::string pair = pair_of_run(entry.name);
    if (!entry.folder || entry.link || pair.empty()) continue;
    const bool undo = entry.name.find(kUndoSuffix) != std::string::npos;
    const std::string folder = kept + kPathSeparator + entry.name;
    // A listing may leave a folder's times out: its own look-up has them.
    const auto own = entry_at(folder);
    runs.push_back({entry.name, folder, own ? own->written : entry.written, std::move(pair), undo});
  }
  std::ranges::sort(runs, {}, &KeptRunFolder::name);
  return runs;
}

std::vector<KeptRunFolder> runs_that_may_go(const std::vector<KeptRunFolder>& runs) {
  const std::size_t spared = std::min(runs.size(), kRunsAlwaysKept);
  return {runs.begin(), runs.end() - static_cast<std::ptrdiff_t>(spared)};
}

std::vector<KeptRunFolder> runs_to_release(const std::vector<KeptRunFolder>& runs,
                                           std::int64_t now_seconds) {
  std::vector<KeptRunFolder> old;
  const std::int64_t limit = std::chrono::duration_cast<std::chrono::seconds>(kKeptFor).count();
  for (KeptRunFolder& run : runs_that_may_go(runs)) {
    if (now_seconds - run.written.seconds > limit) old.push_back(std::move(run));
  }
  return old;
}

std::uint64_t room_of(const KeptRunFolder& run, std::uint64_t allocation_unit) {
  std::uint64_t room = 0;
  walk(run.folder, [&](const std::string&, const ListedEntry& entry) {
    if (!entry.folder) room += in_whole_units(entry.size, allocation_unit);
  });
  return room;
}

void release(const KeptRunFolder& run, std::source_location where) {
  walk(run.folder, [&](const std::string& path, const ListedEntry& entry) {
    if (entry.folder && !entry.link) {
      remove_folder(path, where);
    } else {
      delete_file(path, where);
    }
  });
  remove_folder(run.folder, where);
}

std::optional<Journal> journal_of(const KeptRunFolder& run) {
  std::string text;
  if (sys::read_file(own_file(run.folder, kJournalName), text) != 0) {
    return std::nullopt;
  }
  return parse_journal(text);
}

}  // namespace tav::state
