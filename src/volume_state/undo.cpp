#include "volume_state/undo.h"

#include <algorithm>
#include <ctime>
#include <set>

#include "errors/detail_words.h"
#include "errors/runtime_error.h"
#include "files/operations.h"
#include "files/spelling_rename.h"
#include "platform/folder_reading.h"
#include "platform/sleep_guard.h"
#include "platform/system_files.h"
#include "platform/text.h"
#include "volume_state/kept_run.h"
#include "volume_state/record_file.h"
#include "volume_state/state_access.h"
#include "volume_state/state_layout.h"

namespace tav {

namespace {

using state::Action;
using state::JournalEntry;
using state::Reached;
using state::StatePath;
using Kind = UndoStep::Kind;

// A run of this computer's began before now; a journal that says otherwise
// by more than a day is no run of it.
constexpr std::int64_t kFutureSlack = 24 * 3600;

bool as_placed(const std::optional<ListedEntry>& now, const FileVersion& placed) {
  return now && !now->folder && alike(now->version(), placed);
}

// The pair's runs on one side with their journals: the latest one that
// reads whole, and when the latest that does not read began (a journal that
// cannot be read as late as the chosen one's hides which run came last).
struct Found {
  std::optional<state::KeptRunFolder> run;
  std::optional<state::Journal> journal;
  std::int64_t began = 0;
  std::int64_t damaged_after = INT64_MIN;
};

void find_runs(const std::string& root, bool drive_side, const state::PairKey& pair, Found& found) {
  const std::int64_t now = std::time(nullptr);
  for (auto& run : state::kept_runs(root)) {
    if (run.run.undo || !pair.owns(run.run.pair_id) || !state::has_journal(run)) continue;
    auto journal = state::journal_of(run);
    const bool whole = journal && journal->pair_id == run.run.pair_id &&
                       journal->to_drive == drive_side && journal->undo_of.empty();
    const std::int64_t began = whole && journal->began != 0 ? journal->began : run.written.seconds;
    if (began > now + kFutureSlack) continue;
    // A run that changed nothing (a retry that failed at once) is never the
    // run an undo acts on: it would hide the last run that did.
    if (whole && std::ranges::all_of(journal->entries, [](const JournalEntry& entry) {
          return entry.action == Action::FileLeft || entry.action == Action::FileWriting;
        })) {
      continue;
    }
    if (!whole) {
      found.damaged_after = std::max(found.damaged_after, began);
      continue;
    }
    if (!found.run || began > found.began || (began == found.began && run.name > found.run->name)) {
      found.began = began;
      found.journal = std::move(journal);
      found.run = std::move(run);
    }
  }
}

// Makes the plan by walking the journal backwards, from what the volume
// holds now and what the plan's earlier steps will have done.
class Planner {
 public:
  explicit Planner(UndoPlan& plan) : plan_(plan) {}

  bool make() {
    // Copies half written first: the folders that hold them may go after.
    for (const JournalEntry& entry : plan_.journal.entries) {
      const bool copied = entry.action == Action::FileWriting || entry.action == Action::FilePlaced ||
                          entry.action == Action::FileReplaced ||
                          entry.action == Action::FileOverwritten;
      if (const auto parent = parent_of(entry.path); copied && parent) copied_into_.insert(*parent);
    }
    if (!temporaries_left()) return false;
    std::set<StatePath> left_at_placing;
    for (auto entry = plan_.journal.entries.rbegin(); entry != plan_.journal.entries.rend();
         ++entry) {
      if (!fits(entry->path) || (entry->action == Action::Moved && !fits(*entry->from))) {
        return false;
      }
      switch (entry->action) {
        case Action::FileLeft:
          left_at_placing.insert(entry->path);
          break;
        case Action::FilePlaced:
        case Action::FileReplaced:
          handled_.insert(entry->path);
          if (!discard(*entry)) return false;
          if (!left_at_placing.contains(entry->path)) undo_placing(*entry);
          break;
        case Action::FileOverwritten:
          // What it replaced was not kept: the copy stays, named.
          handled_.insert(entry->path);
          if (!discard(*entry)) return false;
          if (!left_at_placing.contains(entry->path)) leave(entry->path, LeftReason::NotKept);
          break;
        case Action::FileKept:
          handled_.insert(entry->path);
          put_back_file(entry->path);
          break;
        case Action::FolderRemoved:
          put_back_folder(entry->path);
          break;
        case Action::FolderMade:
          remove_folder(entry->path);
          break;
        case Action::FileWriting:
          break;
        case Action::Renamed:
          respell_back(*entry);
          break;
        case Action::Moved:
          move_back(*entry);
          break;
      }
    }
    return kept_files_not_named(plan_.run.rel(), true);
  }

 private:
  const std::string& root() const { return plan_.root(); }
  Reached here(const StatePath& path) const { return state::reach(root(), path.native()); }
  Reached kept(const StatePath& path) const {
    return state::reach(root(), state::layout::kept(plan_.run.name, path.native()));
  }
  // Whether the path, where the run kept it and where the undo may keep
  // it (its folder's name is the longer), can be given to the system.
  bool fits(const StatePath& path) const {
    const std::string longest_undo = state::run_name(0, plan_.run.run.pair_id, true, 99);
    for (const std::string& run : {plan_.run.name, longest_undo}) {
      if (cp932_length(state::at(root(), state::layout::kept(run, path.native()))) > kMaxPathBytes) {
        return false;
      }
    }
    return true;
  }
  bool will_exist(const StatePath& path) const {
    if (filled_.contains(path.native())) return true;
    return !vacated_.contains(path.native()) && here(path) != Reached::Missing;
  }

  void step(Kind kind, const StatePath& path, FileVersion placed = {}) {
    plan_.steps.push_back({kind, path, placed});
    if (kind == Kind::RemovePlaced || kind == Kind::RemoveFolder || kind == Kind::Discard ||
        kind == Kind::Respell || kind == Kind::MoveBack) {
      vacated_.insert(path.native());
    } else {
      filled_.insert(path.native());
    }
  }
  void leave(const StatePath& path, LeftReason why = LeftReason::ChangedSinceRun) {
    plan_.left.push_back({state::at(root(), path.native()), why});
  }

  // A copy the run had not placed yet; false for a journal that names one
  // elsewhere than beside its file.
  bool discard(const JournalEntry& entry) {
    if (entry.temporary.empty()) return true;
    const auto parent = parent_of(entry.path);
    const auto temporary =
        StatePath::parse(parent ? parent->text() + "/" + entry.temporary : entry.temporary);
    if (!temporary || !fits(*temporary)) return false;
    if (here(*temporary) == Reached::File) step(Kind::Discard, *temporary);
    return true;
  }

  void undo_placing(const JournalEntry& entry) {
    const bool old_kept = entry.action == Action::FileReplaced && kept(entry.path) == Reached::File;
    switch (here(entry.path)) {
      case Reached::File:
        if (!as_placed(entry_at(state::at(root(), entry.path.native())), entry.version)) {
          leave(entry.path);
        } else {
          step(old_kept ? Kind::PutBackOver : Kind::RemovePlaced, entry.path, entry.version);
          plan_.steps.back().copy_elsewhere =
              as_placed(entry_at(state::at(plan_.other_root, entry.path.native())), entry.version);
        }
        break;
      case Reached::Missing:
        if (old_kept) step(Kind::PutBack, entry.path);
        break;
      default:
        leave(entry.path);
    }
  }

  void put_back_file(const StatePath& path) {
    if (lies_in_one_of(path.native(), back_whole_) || kept(path) != Reached::File) return;
    if (will_exist(path)) return leave(path);
    step(Kind::PutBack, path);
  }

  // A removed folder with nothing at its place now goes back whole, with
  // everything kept below it, by one rename; the files' own entries then
  // find them in place.
  void put_back_folder(const StatePath& path) {
    if (lies_in_one_of(path.native(), back_whole_)) return;
    if (will_exist(path)) {
      if (here(path) != Reached::Folder && !filled_.contains(path.native())) leave(path);
      return;
    }
    if (kept(path) == Reached::Folder) {
      step(Kind::PutBack, path);
      back_whole_.insert(path.native());
    } else {
      step(Kind::MakeFolder, path);
    }
  }

  bool listed_exactly(const std::optional<StatePath>& folder, std::string_view name) const {
    return lists_name(folder ? state::at(root(), folder->native()) : root(), name);
  }

  // A renamed entry takes its former spelling again, from the run's
  // spelling or from the name between the two where a run cut short left it.
  void respell_back(const JournalEntry& entry) {
    const auto folder = parent_of(entry.path);
    std::optional<StatePath> now;
    if (listed_exactly(folder, last_name(entry.path))) {
      now = entry.path;
    } else if (listed_exactly(folder, entry.temporary)) {
      now = StatePath::parse(folder ? folder->text() + "/" + entry.temporary : entry.temporary);
    }
    // Where the former spelling names another entry now, both stay.
    if (!now || listed_exactly(folder, last_name(*entry.from))) return leave(entry.path);
    step(Kind::Respell, *now);
    plan_.steps.back().back_to = entry.from;
    filled_.insert(entry.from->native());
  }

  // A moved entry goes back while it is where the run put it (as the plan's
  // earlier steps leave it) and nothing will stand at its former path; else
  // both stay. Any file at the run's path goes back: the run never changed
  // it, and one saved over since is still the user's file, which loses
  // nothing by the move. Where the entry is not at the run's path and its
  // former path holds one, the move was never made (a run cut short between
  // its journal and the rename, or a rename the system refused, the run
  // copying instead): nothing goes back.
  void move_back(const JournalEntry& entry) {
    const std::string now = entry.path.native(), former = entry.from->native();
    const Reached there = here(entry.path);
    const bool in_place =
        filled_.contains(now) ||
        (!vacated_.contains(now) && (there == Reached::File || there == Reached::Folder));
    if (!in_place && will_exist(*entry.from)) return;
    if (!in_place || will_exist(*entry.from)) return leave(entry.path);
    step(Kind::MoveBack, entry.path);
    plan_.steps.back().back_to = entry.from;
    filled_.erase(now);
    vacated_.erase(former);
    filled_.insert(former);
  }

  // A folder the run made goes when the plan's earlier steps leave it empty.
  void remove_folder(const StatePath& path) {
    if (here(path) != Reached::Folder) return;
    std::vector<ListedEntry> entries;
    read_folder(state::at(root(), path.native()), entries);
    const bool emptied = std::ranges::all_of(entries, [&](const ListedEntry& entry) {
      return vacated_.contains(path.native() + kPathSeparator + entry.name);
    });
    const std::string below = path.native() + kPathSeparator;
    const auto next = filled_.lower_bound(below);
    const bool filled = next != filled_.end() && next->starts_with(below);
    if (!emptied || filled) return leave(path);
    step(Kind::RemoveFolder, path);
  }

  // The temporary files a run cut short left beside the files it placed,
  // the journal's or not: copies half written are no one's work.
  bool temporaries_left() {
    for (const StatePath& folder : copied_into_) {
      if (here(folder) != Reached::Folder) continue;
      std::vector<ListedEntry> entries;
      read_folder(state::at(root(), folder.native()), entries);
      for (const ListedEntry& entry : entries) {
        if (entry.folder || !is_temporary_name(entry.name)) continue;
        const auto temporary = StatePath::parse(folder.text() + "/" + entry.name);
        if (!temporary || !fits(*temporary)) return false;
        if (!vacated_.contains(temporary->native()) && here(*temporary) == Reached::File) {
          step(Kind::Discard, *temporary);
        }
      }
    }
    return true;
  }

  // Kept files the journal had no time to name (a run cut short); false
  // when one is no path a journal could name.
  bool kept_files_not_named(const std::string& rel, bool top) {
    std::vector<ListedEntry> entries;
    read_folder(state::at(root(), rel), entries);
    const std::string run = plan_.run.rel() + kPathSeparator;
    for (const ListedEntry& entry : entries) {
      if (top && state::layout::is_own_name(entry.name)) continue;
      const std::string below = rel + kPathSeparator + entry.name;
      const auto path = StatePath::of_native(std::string_view(below).substr(run.size()));
      if (!path || !fits(*path)) return false;
      const Reached reached = state::reach(root(), below);
      if (reached == Reached::Folder) {
        if (!kept_files_not_named(below, false)) return false;
      } else if (reached == Reached::File && handled_.insert(*path).second) {
        put_back_file(*path);
      }
    }
    return true;
  }

  UndoPlan& plan_;
  std::set<StatePath> handled_;
  std::set<StatePath> copied_into_;  // folders the run placed files in
  std::set<std::string> vacated_, filled_;  // native relative paths
  FolderSet back_whole_;
};

class Undoer {
 public:
  Undoer(const UndoPlan& plan, const Roots& roots, const state::PairKey& pair)
      : plan_(plan), roots_(roots), pair_(pair), left_(plan.left) {}

  std::vector<LeftEntry> run() {
    state::Journal head;
    head.pair_id = pair_.id;
    head.to_drive = plan_.journal.to_drive;
    head.undo_of = plan_.run.name;
    head.began = std::time(nullptr);
    keeping_.emplace(root(), state::new_run_name(root(), head.began, pair_.id, true), head,
                     std::source_location::current());
    try {
      for (const UndoStep& step : plan_.steps) {
        if (!carry_out(step)) left_.push_back({path(step.path), LeftReason::ChangedSinceRun});
      }
    } catch (...) {
      // What the undo kept before the refusal stays named in its journal.
      try {
        keeping_->commit();
      } catch (...) {
      }
      throw;
    }
    put_back_the_record();
    keeping_->commit();
    mark_undone();
    changed_.insert(keeping_->folder());
    flush_changes({changed_.begin(), changed_.end()});
    return std::move(left_);
  }

 private:
  const std::string& root() const { return plan_.root(); }
  std::string path(const StatePath& rel) const { return state::at(root(), rel.native()); }
  std::string kept(const StatePath& rel) const {
    return state::at(root(), state::layout::kept(plan_.run.name, rel.native()));
  }
  Reached here(const StatePath& rel) const { return state::reach(root(), rel.native()); }
  Reached kept_here(const StatePath& rel) const {
    return state::reach(root(), state::layout::kept(plan_.run.name, rel.native()));
  }
  bool as_planned(const UndoStep& step) const {
    return here(step.path) == Reached::File && as_placed(entry_at(path(step.path)), step.placed);
  }

  // False: the entry is no longer as planned, and stays.
  bool carry_out(const UndoStep& step) {
    switch (step.kind) {
      case Kind::Discard:
        if (here(step.path) == Reached::File) sys::delete_file(path(step.path));
        return true;
      case Kind::PutBack: {
        const Reached there = kept_here(step.path);
        if (here(step.path) != Reached::Missing ||
            (there != Reached::File && there != Reached::Folder) || !make_parents(step.path)) {
          return false;
        }
        move_aside(kept(step.path), path(step.path));
        changed(path(step.path));
        changed(kept(step.path));
        return true;
      }
      case Kind::PutBackOver:
        if (!as_planned(step) || kept_here(step.path) != Reached::File) return false;
        if (step.copy_elsewhere) {
          // One rename over the version placed: the path never names nothing.
          if (!sys::rename_over(kept(step.path), path(step.path))) {
            raise_system_error(sys::last_code(path(step.path)), detail::kPutBackRefused);
          }
          changed(path(step.path));
          changed(kept(step.path));
        } else {
          put_in_place_keeping(kept(step.path), path(step.path), keep_as(step.path));
        }
        return true;
      case Kind::RemovePlaced:
        if (!as_planned(step)) return false;
        if (step.copy_elsewhere) {
          delete_file(path(step.path));
          changed(path(step.path));
        } else {
          keep_aside(path(step.path), keep_as(step.path));
        }
        return true;
      case Kind::MakeFolder:
        if (here(step.path) == Reached::Folder) return true;
        if (here(step.path) != Reached::Missing || !make_parents(step.path)) return false;
        make_folder(path(step.path));
        changed(path(step.path));
        return true;
      case Kind::Respell: {
        const auto folder = parent_of(step.path);
        const std::string at = folder ? path(*folder) : root();
        if (!lists_name(at, last_name(step.path))) return false;
        const std::string between = spelling_temporary_name(at);
        // From the name between a run cut short left, there is no spelling
        // of the name to note.
        if (!is_spelling_temporary_name(last_name(step.path))) {
          keeping_->note({Action::Renamed, *step.back_to, {}, between, step.path});
          keeping_->commit();
        }
        rename_spelling(at, last_name(step.path), last_name(*step.back_to), between);
        changed(path(*step.back_to));
        return true;
      }
      case Kind::MoveBack: {
        const Reached there = here(step.path);
        if ((there != Reached::File && there != Reached::Folder) ||
            here(*step.back_to) != Reached::Missing || !make_parents(*step.back_to)) {
          return false;
        }
        keeping_->note({Action::Moved, *step.back_to, {}, "", step.path});
        keeping_->commit();
        move_aside(path(step.path), path(*step.back_to));
        changed(path(step.path));
        changed(path(*step.back_to));
        return true;
      }
      case Kind::RemoveFolder:
        if (here(step.path) != Reached::Folder || !remove_empty_folder(path(step.path))) {
          return false;
        }
        keeping_->note({Action::FolderRemoved, step.path, {}, {}});
        changed_.erase(path(step.path));  // gone: nothing in it to flush
        changed(path(step.path));
        return true;
    }
    return false;
  }

  // Where the undo keeps the file at rel, noted in its journal.
  std::string keep_as(const StatePath& rel) {
    const std::string place = keeping_->place_for(rel.native());
    keeping_->note({Action::FileKept, rel, {}, {}});
    changed(path(rel));
    changed(place);
    return place;
  }

  bool make_parents(const StatePath& rel) {
    const auto parent = parent_of(rel);
    if (!parent) return true;
    switch (here(*parent)) {
      case Reached::Folder:
        return true;
      case Reached::Missing:
        if (!make_parents(*parent)) return false;
        make_folder(path(*parent));
        changed(path(*parent));
        return true;
      default:
        return false;
    }
  }

  // The record as it was before the run; the one the run wrote goes into
  // the undo's own folder on the drive.
  void put_back_the_record() {
    const std::string& drive = roots_.drive_root;
    const std::string record = state::record_place(roots_, pair_);
    if (state::reach(drive, record) == Reached::File) {
      state::make_folders(drive, state::layout::own_folder(keeping_->name()));
      move_aside(state::at(drive, record),
                 state::at(drive, state::layout::kept_record(keeping_->name())));
      changed(state::at(drive, record));
      changed(state::at(drive, state::layout::kept_record(keeping_->name())));
    }
    for (const std::string& before : {state::layout::kept_record(plan_.run.name),
                                      state::layout::kept_record_beside(plan_.run.name)}) {
      if (state::reach(drive, before) != Reached::File) continue;
      state::make_folders(drive, state::layout::records_folder());
      const std::string place = state::layout::record(pair_.id);
      if (state::reach(drive, place) != Reached::Missing) return;
      move_aside(state::at(drive, before), state::at(drive, place));
      changed(state::at(drive, place));
      return;
    }
  }

  void mark_undone() {
    for (const std::string& journal :
         {state::layout::journal(plan_.run.name), state::layout::journal_beside(plan_.run.name)}) {
      std::string text;
      if (state::read_state_file(root(), journal, std::size_t{64} << 20, text) !=
          state::StateFile::Read) {
        continue;
      }
      write_small_file(state::at(root(), journal), text + state::undone_line());
      return;
    }
  }

  void changed(const std::string& path) { changed_.emplace(folder_of(path)); }

  const UndoPlan& plan_;
  const Roots& roots_;
  const state::PairKey& pair_;
  std::optional<state::KeptRun> keeping_;
  std::set<std::string> changed_;
  std::vector<LeftEntry> left_;
};

}  // namespace

std::string UndoPlan::shown_path(const UndoStep& step) const {
  return state::at(root(), (step.back_to ? *step.back_to : step.path).native());
}

std::optional<UndoPlan> plan_undo(const Roots& roots, const state::PairKey& pair) {
  Found found;
  find_runs(roots.drive_root, true, pair, found);
  find_runs(roots.folder_root, false, pair, found);
  if (!found.run || found.damaged_after >= found.began || found.journal->undone) {
    return std::nullopt;
  }
  const std::string& other = found.run->root == roots.drive_root ? roots.folder_root : roots.drive_root;
  UndoPlan plan{other, std::move(*found.run), std::move(*found.journal), {}, {}};
  if (!Planner(plan).make()) return std::nullopt;
  return plan;
}

std::vector<LeftEntry> undo_run(const UndoPlan& plan, const Roots& roots,
                                const state::PairKey& pair) {
  const sys::SleepGuard awake;  // as while a run carries out its lists
  return Undoer(plan, roots, pair).run();
}

}  // namespace tav
