#include "worklist/undo.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <set>

#include "files/operations.h"
#include "platform/folder_reading.h"
#include "platform/system_files.h"
#include "platform/text.h"
#include "volume_state/kept_run.h"
#include "volume_state/record_file.h"

namespace tav {

namespace {

using state::Action;
using state::JournalEntry;

// FAT keeps write times to two seconds.
constexpr std::int64_t kTimeSlack = 2;

bool as_placed(const std::optional<ListedEntry>& now, const FileVersion& placed) {
  return now && !now->folder && now->size == placed.size &&
         std::llabs(now->written.seconds - placed.written.seconds) <= kTimeSlack;
}

std::string native(std::string_view rel) {
  std::string path(rel);
  std::replace(path.begin(), path.end(), '/', kPathSeparator);
  return path;
}

std::optional<state::KeptRunFolder> latest_run(std::string_view root, const std::string& pair) {
  std::optional<state::KeptRunFolder> latest;
  for (auto& run : state::kept_runs(root)) {
    if (run.pair_id == pair && !run.undo) latest = std::move(run);
  }
  return latest;
}

// Calls visit(relative path with the separator) for every file kept under
// the run's folder, its own files aside.
template <typename Visit>
void for_each_kept_file(const std::string& folder, const std::string& rel, Visit visit) {
  std::vector<ListedEntry> entries;
  read_folder(folder, entries);
  for (const ListedEntry& entry : entries) {
    const std::string path = rel.empty() ? entry.name : rel + kPathSeparator + entry.name;
    if (rel.empty() && state::is_own_entry(entry)) continue;
    if (entry.folder && !entry.link) {
      for_each_kept_file(folder + kPathSeparator + entry.name, path, visit);
    } else {
      visit(path);
    }
  }
}

// The steps of an undo, found by walking the journal backwards: the same
// walk plans the undo and carries it out.
class UndoWalk {
 public:
  UndoWalk(const state::KeptRunFolder& run, const state::Journal& journal, std::string root)
      : run_(run), journal_(journal), root_(std::move(root)) {}

  template <typename Step>
  void walk(Step step) {
    std::set<std::string> left_at_placing, handled;
    for (auto entry = journal_.entries.rbegin(); entry != journal_.entries.rend(); ++entry) {
      const std::string rel = native(entry->path);
      switch (entry->action) {
        case Action::FileLeft:
          left_at_placing.insert(rel);
          break;
        case Action::FilePlaced:
        case Action::FileReplaced:
          handled.insert(rel);
          step(*entry, rel, left_at_placing.contains(rel));
          break;
        case Action::FileKept:
          handled.insert(rel);
          step(*entry, rel, false);
          break;
        default:
          step(*entry, rel, false);
      }
    }
    // Kept files the journal had no time to name (a run cut short).
    for_each_kept_file(run_.folder, "", [&](const std::string& rel) {
      if (handled.insert(rel).second) step(JournalEntry{Action::FileKept, rel, {}, {}}, rel, false);
    });
  }

  std::string at_root(const std::string& rel) const { return root_ + rel; }
  std::string kept(const std::string& rel) const { return run_.folder + kPathSeparator + rel; }

 private:
  const state::KeptRunFolder& run_;
  const state::Journal& journal_;
  std::string root_;
};

class Undoer {
 public:
  Undoer(const UndoPlan& plan, const Roots& roots, const state::PairKey& pair)
      : plan_(plan), roots_(roots), pair_(pair), walk_(plan.run, plan.journal, plan.root) {}

  std::vector<LeftEntry> run() {
    state::Journal head;
    head.pair_id = pair_.id;
    head.to_drive = plan_.journal.to_drive;
    head.undo_of = plan_.run.name;
    keeping_.emplace(plan_.root, state::run_name(std::time(nullptr), pair_, true), head);
    walk_.walk([this](const JournalEntry& entry, const std::string& rel, bool left_at_placing) {
      apply(entry, rel, left_at_placing);
    });
    put_back_the_record();
    keeping_->commit();
    mark_undone();
    changed_.insert(keeping_->folder());
    flush_changes({changed_.begin(), changed_.end()});
    return std::move(left_);
  }

 private:
  void apply(const JournalEntry& entry, const std::string& rel, bool left_at_placing) {
    const std::string path = walk_.at_root(rel);
    switch (entry.action) {
      case Action::FolderRemoved:
        if (!entry_at(path)) put_back_folder(rel);
        break;
      case Action::FileKept:
        put_back(rel);
        break;
      case Action::FilePlaced:
      case Action::FileReplaced:
        discard_temporary(path, entry.temporary);
        if (!left_at_placing) undo_placing(entry, rel);
        break;
      case Action::FolderMade:
        if (const auto there = entry_at(path); there && there->folder && !there->link) {
          if (remove_empty_folder(path)) {
            keeping_->note({Action::FolderRemoved, entry.path, {}, {}});
            changed_.erase(path);  // gone: nothing in it to flush
            changed(path);
          } else {
            left_.push_back({path, LeftReason::Changed});
          }
        }
        break;
      case Action::RecordKept:
      case Action::FileLeft:
        break;
    }
  }

  // A copy the run had not placed yet.
  void discard_temporary(const std::string& path, const std::string& temporary) {
    if (temporary.empty() || temporary.find(kPathSeparator) != std::string::npos) return;
    const std::string left = std::string(folder_of(path)) + kPathSeparator + temporary;
    if (is_temporary_name(temporary) && entry_at(left)) delete_file(left);
  }

  // The file the run placed goes into the undo's own kept folder while it
  // is as the run placed it; a replaced one's old file takes its place in
  // the same step.
  void undo_placing(const JournalEntry& entry, const std::string& rel) {
    const std::string path = walk_.at_root(rel);
    const auto now = entry_at(path);
    if (now && !as_placed(now, entry.version)) {
      left_.push_back({path, LeftReason::Changed});
      return;
    }
    const std::string kept = walk_.kept(rel);
    const bool old_kept = entry.action == Action::FileReplaced && entry_at(kept);
    if (!now) {
      if (old_kept) put_back(rel);
      return;
    }
    const std::string keep_as = keeping_->place_for(rel);
    if (old_kept) {
      put_in_place_keeping(kept, path, keep_as);
    } else {
      keep_aside(path, keep_as);
    }
    keeping_->note({Action::FileKept, rel, {}, {}});
    changed(path);
    changed(keep_as);
  }

  void put_back(const std::string& rel) {
    const std::string path = walk_.at_root(rel);
    if (lies_in_one_of(path, back_whole_)) return;
    const std::string kept = walk_.kept(rel);
    if (!entry_at(kept)) return;
    if (entry_at(path)) {
      left_.push_back({path, LeftReason::Changed});
      return;
    }
    make_folder_and_parents(std::string(folder_of(path)));
    move_aside(kept, path);
    changed(path);
    changed(kept);
  }

  // A removed folder with nothing at its place now goes back whole, with
  // everything kept below it, by one rename; the files' own steps then find
  // them in place.
  void put_back_folder(const std::string& rel) {
    const std::string path = walk_.at_root(rel);
    const std::string kept = walk_.kept(rel);
    const auto there = entry_at(kept);
    if (!there || !there->folder || there->link) return make_folder_and_parents(path);
    make_folder_and_parents(std::string(folder_of(path)));
    move_aside(kept, path);
    back_whole_.insert(path);
    changed(path);
    changed(kept);
  }

  void make_folder_and_parents(const std::string& folder) {
    if (folder.size() < plan_.root.size() || entry_at(folder)) return;
    make_folder_and_parents(std::string(folder_of(folder)));
    make_folder(folder);
    changed(folder);
  }

  // The record as it was before the run; the one the run wrote goes into a
  // kept folder of the undo's on the drive.
  void put_back_the_record() {
    const std::string record = state::record_path(roots_.drive_root, pair_);
    if (entry_at(record)) {
      const std::string own = state::make_own_folder(roots_.drive_root, keeping_->name());
      move_aside(record, own + kPathSeparator + std::string(state::kKeptRecordName));
      changed(own);
    }
    const std::string before = state::own_file(
        state::kept_folder(roots_.drive_root) + kPathSeparator + plan_.run.name,
        state::kKeptRecordName);
    if (entry_at(before)) {
      move_aside(before, record);
      changed(record);
    }
  }

  void mark_undone() {
    const std::string journal = state::own_file(plan_.run.folder, state::kJournalName);
    std::string text;
    if (sys::read_file(journal, text) != 0) return;
    write_small_file(journal, text + state::undone_line());
  }

  void changed(const std::string& path) { changed_.emplace(folder_of(path)); }

  const UndoPlan& plan_;
  const Roots& roots_;
  const state::PairKey& pair_;
  UndoWalk walk_;
  std::optional<state::KeptRun> keeping_;
  std::set<std::string> changed_;
  FolderSet back_whole_;  // folders put back whole, at the root
  std::vector<LeftEntry> left_;
};

}  // namespace

std::optional<UndoPlan> plan_undo(const Roots& roots, const state::PairKey& pair) {
  const auto on_drive = latest_run(roots.drive_root, pair.id);
  const auto in_folder = latest_run(roots.folder_root, pair.id);
  const bool drive_latest = on_drive && (!in_folder || on_drive->name > in_folder->name);
  const auto& run = drive_latest ? on_drive : in_folder;
  if (!run) return std::nullopt;
  auto journal = state::journal_of(*run);
  if (!journal || journal->undone) return std::nullopt;
  UndoPlan plan{*run, std::move(*journal), drive_latest ? roots.drive_root : roots.folder_root, {}};
  UndoWalk walk(plan.run, plan.journal, plan.root);
  walk.walk([&](const JournalEntry& entry, const std::string& rel, bool left_at_placing) {
    const std::string path = walk.at_root(rel);
    const bool kept = static_cast<bool>(entry_at(walk.kept(rel)));
    switch (entry.action) {
      case Action::FolderRemoved:
        if (!entry_at(path)) plan.steps.push_back({UndoStep::Kind::PutBack, path});
        break;
      case Action::FileKept:
        if (kept) plan.steps.push_back({UndoStep::Kind::PutBack, path});
        break;
      case Action::FilePlaced:
      case Action::FileReplaced: {
        // A file changed since the run is left (and named at the end); a
        // replaced one goes back to its old version, which names it.
        if (left_at_placing) break;
        const auto now = entry_at(path);
        if (now && !as_placed(now, entry.version)) break;
        if (entry.action == Action::FileReplaced && kept) {
          plan.steps.push_back({UndoStep::Kind::PutBack, path});
        } else if (now) {
          plan.steps.push_back({UndoStep::Kind::Remove, path});
        }
        break;
      }
      case Action::FolderMade:
        if (entry_at(path)) plan.steps.push_back({UndoStep::Kind::Remove, path});
        break;
      default:
        break;
    }
  });
  return plan;
}

std::vector<LeftEntry> undo_run(const UndoPlan& plan, const Roots& roots,
                                const state::PairKey& pair) {
  return Undoer(plan, roots, pair).run();
}

}  // namespace tav
