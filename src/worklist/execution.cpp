#include "worklist/execution.h"

#include <algorithm>
#include <chrono>
#include <set>
#include <unordered_map>
#include <unordered_set>

#include "files/copy_batch.h"
#include "files/operations.h"
#include "files/read_back_queue.h"
#include "files/spelling_rename.h"
#include "platform/sleep_guard.h"
#include "platform/system_files.h"
#include "platform/text.h"
#include "worklist/list_lines.h"
#include "volume_state/run_keeping.h"
#include "worklist/run_progress.h"
#include "worklist/whole_folders.h"

namespace tav {

namespace {

constexpr std::string_view kCopiedHeading = "作成or更新したファイル";
constexpr std::string_view kDeletedHeading = "削除したファイル";
constexpr std::string_view kCopying = "更新処理中   ";
constexpr std::string_view kDeleting = "削除処理中   ";
constexpr std::string_view kChecking = "確認中   ";

// Ends the phases when the user has asked the run to stop.
struct Stopped {};

template <typename Table, typename Same>
std::size_t slot_where(const Table& table, Same same) {
  for (std::size_t slot = 1; slot <= table.count(); ++slot) {
    if (same(table[slot])) return slot;
  }
  return 0;
}

class Execution {
 public:
  Execution(Window& window, WorkTables& tables, const Roots& roots, const RunSetting& setting)
      : window_(window),
        tables_(tables),
        roots_(roots),
        deletions_(!window.is_checked(Control::Check1)),
        progress_(window, work_of(tables, roots.direction, deletions_, setting.check_copies)),
        keeping_(roots, setting.pair, setting.room.release),
        whole_(tables),
        copies_(kBatchLimits, std::chrono::steady_clock::now,
                [this](CopyBatch::Step step, const std::vector<CopyBatch::Placement>& batch,
                       std::vector<sys::Handle>& flushed) { placing(step, batch, flushed); }),
        unkept_(setting.room.unkept),
        check_copies_(setting.check_copies) {
    for (std::size_t slot = 1; slot <= tables.deleted_folders.count(); ++slot) {
      scanned_folders_.insert(tables.deleted_folders[slot]);
    }
  }

  ExecutionReport run() {
    bool stopped = false;
    try {
      clear_stray_temporaries();
      rename_entries();
      create_folders();
      move_entries();
      copy_files();
      if (deletions_) {
        delete_files();
        remove_folders();
      }
    } catch (const Stopped&) {
      stopped = true;
      account_for_what_went_whole();
    } catch (...) {
      // What the run did before the error is listed, as a completed run's.
      take(copies_.take_unclaimed());
      journal_what_was_done();
      throw;
    }
    take(copies_.place());
    keeping_.commit();
    // The user may unplug the drive as soon as the program says it is done.
    progress_.flushing(true);
    for (const std::string& folder : keeping_.folders_changed()) changed_folders_.insert(folder);
    flush_changes({changed_folders_.begin(), changed_folders_.end()});
    progress_.flushing(false);
    if (!stopped) stopped = !check_the_copies();
    if (!stopped) progress_.done();
    left_.insert(left_.end(), not_kept_.begin(), not_kept_.end());
    return {stopped, std::move(left_), unconfirmed_};
  }

 private:
  // A run ending in an error still journals what it did (a folder it made
  // is noted after the making), so that its undo finds all of it. The
  // error is the one reported: a journal that cannot be written now leaves
  // at most an empty folder the undo does not know.
  void journal_what_was_done() noexcept {
    try {
      keeping_.commit();
    } catch (...) {
    }
  }

  void stop_if_asked() {
    if (window_.stop_requested(Control::Button4)) throw Stopped{};
  }

  // What an interrupted run left half written is no one's work: it goes,
  // while it still is a file of a temporary file's name.
  void clear_stray_temporaries() {
    for (const std::string& path : tables_.stray_temporaries) {
      const auto there = entry_at(path);
      if (there && !there->folder && !there->link && sys::delete_file(path) == 0) changed(path);
    }
  }

  // Destination entries take their source's spelling first: every other
  // list names what lies below a renamed folder in the new spelling.
  void rename_entries() {
    for (const auto& [slot, rename] : tables_.renames.listed()) {
      stop_if_asked();
      respell(slot, rename);
    }
  }

  void respell(std::size_t slot, const SpellingRename& rename) {
    progress_.step_done();
    const std::string destination = roots_.destination_root() + rename.path;
    const std::string folder(folder_of(destination));
    const std::string new_name = destination.substr(folder.size() + 1);
    if (below_a_folder_not_made(destination) || !lists_name(folder, rename.old_name)) {
      // What lies below a folder left in its old spelling is left too.
      if (rename.folder) not_made_.push_back(destination);
      return leave(tables_.renames, slot, destination, LeftReason::Changed);
    }
    keeping_.begin();
    const std::string between = spelling_temporary_name(folder);
    keeping_.renaming(destination, folder + kPathSeparator + rename.old_name, between);
    rename_spelling(folder, rename.old_name, new_name, between);
    tables_.renames.settle(slot, SlotState::Done);
    window_.list_add(Control::List1, rename_text(rename, roots_));
    changed(destination);
  }

  void create_folders() {
    for (const auto& [slot, folder] : tables_.new_folders.listed()) {
      stop_if_asked();
      create_folder(slot, folder);
    }
  }

  // Moves come after the folders they move into are made and before the
  // folders they leave are removed.
  void move_entries() {
    for (const auto& [slot, move] : tables_.moves.listed()) {
      stop_if_asked();
      carry_out_move(slot, move);
    }
  }

  // The destination's entry still as the scan saw it (a file of the same
  // version, a folder), nothing yet at its new place and that place's
  // folder there: one rename, which loses nothing and keeps nothing. A move
  // that cannot be made so (changed since the scan, or the system refuses
  // the rename, as Windows does for a folder with a file in use) is made as
  // what it stands for: its copies and deletions, each with its own checks.
  void carry_out_move(std::size_t slot, const Move& move) {
    progress_.step_done();
    const std::string from = roots_.destination_root() + move.from;
    const std::string to = roots_.destination_root() + move.to;
    const auto there = entry_at(from);
    const bool as_scanned =
        there && !there->link &&
        (move.folder ? there->folder
                     : !there->folder &&
                           there->version() == tables_.deleted_files[move.deleted_files.front()].seen);
    if (!as_scanned || below_a_folder_not_made(to) || !folder_exists(folder_of(to)) ||
        entry_at(to)) {
      return copy_instead(slot);
    }
    keeping_.begin();
    // A journal that names a move the rename did not make is one a run cut
    // short left: its undo finds the entry still in its place.
    keeping_.moving(to, from);
    if (!sys::rename_new(from, to)) return copy_instead(slot);
    settle_moved(slot);
    window_.list_add(Control::List1, move_text(move, roots_));
    changed(from);
    changed(to);
  }

  // The move's entries take their turns as the scan listed them; the
  // folders it would have made are made now, the copies' turn being later.
  void copy_instead(std::size_t slot) {
    tables_.unfold_move(slot);
    for (const std::size_t folder : tables_.moves[slot].new_folders) {
      if (tables_.new_folders.is_listed(folder)) create_folder(folder, tables_.new_folders[folder]);
    }
  }

  // A move done, and the entries it stands for with it.
  void settle_moved(std::size_t slot) {
    tables_.moves.settle(slot, SlotState::Done);
    const Move& move = tables_.moves[slot];
    for (const std::size_t entry : move.copies) tables_.copies.settle_again(entry, SlotState::Done);
    for (const std::size_t entry : move.new_folders) {
      tables_.new_folders.settle_again(entry, SlotState::Done);
    }
    for (const std::size_t entry : move.deleted_files) {
      tables_.deleted_files.settle_again(entry, SlotState::Done);
    }
    for (const std::size_t entry : move.deleted_folders) {
      tables_.deleted_folders.settle_again(entry, SlotState::Done);
    }
  }

  void copy_files() {
    const std::size_t count = tables_.copies.count();
    for (const auto& [slot, entry] : tables_.copies.listed()) {
      stop_if_asked();
      window_.set_text(Control::Text1, progress_text(kCopying, slot, count));
      copy_file(slot, entry);
      if (copies_.full()) take(copies_.place());
    }
    take(copies_.place());
  }

  void delete_files() {
    const std::size_t count = tables_.deleted_files.count();
    for (const auto& [slot, file] : tables_.deleted_files.listed()) {
      stop_if_asked();
      window_.set_text(Control::Text1, progress_text(kDeleting, slot, count));
      delete_if_unchanged(slot);
    }
  }

  // Descending: the scan recorded every folder before its subfolders.
  void remove_folders() {
    for (const auto& [slot, folder] : tables_.deleted_folders.listed_backwards()) {
      stop_if_asked();
      remove_if_empty(slot);
    }
  }

  // --- One guard per kind of entry: what stands at its path now ---------

  // A folder that appeared since the scan serves as made; a file in its
  // place is deleted first when its deletion is listed; below a folder not
  // made nothing is made.
  void create_folder(std::size_t slot, const std::string& folder) {
    progress_.step_done();
    auto& table = tables_.new_folders;
    if (below_a_folder_not_made(folder)) return leave(table, slot, folder, LeftReason::FolderNotMade);
    const auto there = entry_at(folder);
    if (there && there->folder && !there->link) return leave(table, slot, folder, LeftReason::Changed);
    if (there) {
      const auto why = there->link ? std::optional(LeftReason::Changed) : delete_ahead(folder);
      if (why) {
        not_made_.push_back(folder);
        return leave(table, slot, folder, *why);
      }
    }
    keeping_.begin();
    make_folder(folder);
    keeping_.folder_made(folder);
    table.settle(slot, SlotState::Done);
    window_.list_add(Control::List1, new_folder_text(folder));
    changed(folder);
  }

  // Written for its batch or left, a copy counts whole in the progress.
  void copy_file(std::size_t slot, const CopyEntry& entry) {
    write_copy(slot, entry);
    const auto& seen_here = roots_.source(entry.left_seen, entry.right_seen);
    progress_.copied(seen_here ? seen_here->size : 0);
  }

  // The destination is checked once, as the copy is put in place; a source
  // changed since the scan is copied as it is now.
  void write_copy(std::size_t slot, const CopyEntry& entry) {
    auto& table = tables_.copies;
    const std::string destination = roots_.destination_root() + entry.path;
    const std::string source = roots_.source_root() + entry.path;
    if (below_a_folder_not_made(destination)) {
      return leave(table, slot, destination, LeftReason::FolderNotMade);
    }
    // Where the scan saw a folder, it is cleared first; a folder made there
    // since keeps the copy from its place as anything else would.
    if (scanned_folders_.contains(destination)) {
      if (const auto there = entry_at(destination); there && there->folder) {
        if (const auto why = remove_ahead(destination)) {
          return leave(table, slot, destination, *why);
        }
      }
    }
    const auto& seen_there = roots_.destination(entry.left_seen, entry.right_seen);
    keeping_.begin();
    // What the copy replaces is kept, unless the run has no room for it:
    // such a copy is placed on its own, so that it and the file it replaces
    // are both there for one copy only.
    const bool keeps = !std::ranges::binary_search(unkept_, slot);
    if (!keeps) take(copies_.place());
    const std::string kept_as = seen_there && keeps ? keeping_.place_for(destination) : "";
    const Replaces replaces = !seen_there ? Replaces::nothing()
                                          : Replaces::exactly(*seen_there, kept_as);
    keeping_.writing(destination);
    const auto go_on = [this](std::uint64_t copied) {
      progress_.copying(copied);
      return !window_.stop_requested(Control::Button4);
    };
    switch (copies_.add(source, destination, replaces, go_on)) {
      case CopyBatch::Added::Written:
        copying_[destination] = slot;
        if (!kept_as.empty()) kept_as_[slot] = kept_as;
        if (!keeps) take(copies_.place());
        return;
      case CopyBatch::Added::SourceMissing:
        return leave(table, slot, source, LeftReason::Missing);
      case CopyBatch::Added::Abandoned:
        throw Stopped{};
    }
  }

  // The file as the scan saw it, or nothing: whether it was deleted.
  bool delete_if_unchanged(std::size_t slot) {
    progress_.step_done();
    auto& table = tables_.deleted_files;
    const FileDeletion& file = table[slot];
    if (went_with_its_folder(file.path)) {
      table.settle(slot, SlotState::Done);
      window_.list_add(Control::List2, deletion_text(file.path));
      return true;
    }
    const auto now = entry_at(file.path);
    if (!now || now->folder || now->version() != file.seen) {
      leave(table, slot, file.path, now ? LeftReason::Changed : LeftReason::Missing);
      return false;
    }
    keeping_.begin();
    keep_aside(file.path, keeping_.place_for(file.path));
    keeping_.file_kept(file.path);
    keeping_.commit_when_due();
    table.settle(slot, SlotState::Done);
    window_.list_add(Control::List2, deletion_text(file.path));
    changed(file.path);
    return true;
  }

  // A folder that still holds something (an entry left, or one added since
  // the scan) is left as it is. Whether it was removed.
  bool remove_if_empty(std::size_t slot) {
    progress_.step_done();
    auto& table = tables_.deleted_folders;
    const std::string& folder = table[slot];
    if (whole_.went_with_a_folder(folder)) {
      table.settle(slot, SlotState::Done);
      window_.list_add(Control::List2, deletion_text(folder));
      return true;
    }
    const auto now = entry_at(folder);
    if (!now || !now->folder || now->link) {
      leave(table, slot, folder, now ? LeftReason::Changed : LeftReason::Missing);
      return false;
    }
    keeping_.begin();
    if (!remove_empty_folder(folder)) {
      leave(table, slot, folder,
            holds_an_entry_left(folder) ? LeftReason::HoldsLeft : LeftReason::FolderGained);
      return false;
    }
    keeping_.folder_removed(folder);
    keeping_.commit_when_due();
    table.settle(slot, SlotState::Done);
    window_.list_add(Control::List2, deletion_text(folder));
    changed_folders_.erase(folder);
    changed(folder);
    return true;
  }

  // --- Folders kept whole ------------------------------------------------

  // A file below a folder that may go whole goes with it: the folder is
  // kept by one rename and the journal names what went as if each entry
  // had gone alone, files first, then folders deepest first. The list
  // lines still come as each entry's turn does. A folder the system will
  // not move (one in use, on Windows) goes entry by entry, as any other.
  bool went_with_its_folder(const std::string& path) {
    if (whole_.went_with_a_folder(path)) return true;
    const auto whole = whole_.may_go_whole_above(path);
    if (!whole) return false;
    const std::string& folder = whole->path;
    keeping_.begin();
    if (!sys::rename_new(folder, keeping_.place_for(folder))) return false;
    whole_.went(folder);
    for (const std::size_t slot : whole->files) keeping_.file_kept(tables_.deleted_files[slot].path);
    for (const std::size_t slot : whole->folders) keeping_.folder_removed(tables_.deleted_folders[slot]);
    keeping_.commit_when_due();
    std::erase_if(changed_folders_, [&](const std::string& changed) {
      return changed == folder || lies_below(changed, folder);
    });
    changed(folder);
    return true;
  }

  // A run stopped meanwhile: what went with a folder is done, in its turn.
  void account_for_what_went_whole() {
    for (const auto& [slot, file] : tables_.deleted_files.listed()) {
      if (whole_.went_with_a_folder(file.path)) {
        tables_.deleted_files.settle(slot, SlotState::Done);
        window_.list_add(Control::List2, deletion_text(file.path));
      }
    }
    for (const auto& [slot, folder] : tables_.deleted_folders.listed_backwards()) {
      if (whole_.went_with_a_folder(folder)) {
        tables_.deleted_folders.settle(slot, SlotState::Done);
        window_.list_add(Control::List2, deletion_text(folder));
      }
    }
  }

  // --- The check of the copies ------------------------------------------

  // Every copy placed is read back from its medium, past the system's
  // cache, the newest first (a medium that holds less than it says loses
  // the last data written first). A copy the medium does not give back as
  // it was written is not done: it goes, the file it replaced comes back,
  // and the run names it. False when the user stopped the check.
  bool check_the_copies() {
    if (!check_copies_ || placed_.empty()) return true;
    const bool whole = read_back_the_copies();
    // Only a copy taken back changes anything after the run's last flush.
    if (unconfirmed_ > 0) {
      keeping_.commit();
      flush_changes({changed_folders_.begin(), changed_folders_.end()});
    }
    return whole;
  }

  bool read_back_the_copies() {
    const std::size_t count = placed_.size();
    std::vector<ReadBackQueue::Item> newest_first;
    newest_first.reserve(count);
    for (auto copy = placed_.rbegin(); copy != placed_.rend(); ++copy) {
      newest_first.push_back({roots_.destination_root() + tables_.copies[copy->slot].path,
                              copy->hash});
    }
    ReadBackQueue queue(std::move(newest_first));
    for (std::size_t checked = 1; checked <= count; ++checked) {
      if (window_.stop_requested(Control::Button4)) return false;
      window_.set_text(Control::Text1, progress_text(kChecking, checked, count));
      const PlacedCopy& copy = placed_[count - checked];
      const std::string destination = roots_.destination_root() + tables_.copies[copy.slot].path;
      const ReadBack verdict = queue.next([this](std::uint64_t read) {
        progress_.copying(read);
        return !window_.stop_requested(Control::Button4);
      });
      if (verdict == ReadBack::Stopped) return false;
      const auto& seen_here = roots_.source(tables_.copies[copy.slot].left_seen,
                                            tables_.copies[copy.slot].right_seen);
      progress_.copied(seen_here ? seen_here->size : 0);
      if (verdict != ReadBack::Match) {
        undo_the_copy(copy.slot, destination,
                      roots_.source_root() + tables_.copies[copy.slot].path);
      }
    }
    return true;
  }

  // Takes back a copy the medium did not keep, as far as the medium lets
  // it: the run is done, so what refuses is named, never raised. A copy
  // saved over since it was placed (its time or size no longer its
  // source's) is someone's work: it stays.
  void undo_the_copy(std::size_t slot, const std::string& destination, const std::string& source) {
    tables_.copies.settle_again(slot, SlotState::Left);
    left_.push_back({destination, LeftReason::NotConfirmed});
    std::erase(not_kept_, LeftEntry{destination, LeftReason::NotKept});
    ++unconfirmed_;
    const auto placed = entry_at(destination);
    const auto original = entry_at(source);
    if (!placed || !original || !alike(placed->version(), original->version())) return;
    if (sys::delete_file(destination) != 0) return;
    changed(destination);
    // Where the file it replaced cannot go back, the journal still says it
    // was replaced and kept: an undo puts it back.
    const auto kept = kept_as_.find(slot);
    if (kept != kept_as_.end() && !sys::rename_new(kept->second, destination)) return;
    keeping_.left_at_placing(destination);
    keeping_.commit();
  }

  // --- A file against a folder of the same name -------------------------

  // A file stands where a folder is to be made: its deletion, when it is
  // listed and deletions are made, clears the way first. Why the way stays
  // blocked, if it does.
  std::optional<LeftReason> delete_ahead(const std::string& path) {
    auto& files = tables_.deleted_files;
    const std::size_t slot = slot_where(files, [&](const FileDeletion& f) { return f.path == path; });
    if (slot == 0) return LeftReason::Changed;  // it appeared since the scan
    if (deletions_ && files.is_listed(slot) && delete_if_unchanged(slot)) return std::nullopt;
    return LeftReason::FileInTheWay;
  }

  // A folder stands where a file is to be copied: its removal, with the
  // listed entries below it, clears the way first, when it is listed and
  // deletions are made.
  std::optional<LeftReason> remove_ahead(const std::string& folder) {
    auto& folders = tables_.deleted_folders;
    const std::size_t found = slot_where(folders, [&](const std::string& f) { return f == folder; });
    if (found == 0) return LeftReason::Changed;  // it appeared since the scan
    if (!deletions_ || !folders.is_listed(found)) return LeftReason::FolderInTheWay;
    for (const auto& [slot, file] : tables_.deleted_files.listed()) {
      if (lies_below(file.path, folder)) delete_if_unchanged(slot);
    }
    for (const auto& [slot, below] : folders.listed_backwards()) {
      if (lies_below(below, folder)) remove_if_empty(slot);
    }
    if (remove_if_empty(found)) return std::nullopt;
    return LeftReason::FolderInTheWay;
  }

  // --- What the run left and what it changed -----------------------------

  template <typename Table>
  void leave(Table& table, std::size_t slot, const std::string& path, LeftReason why) {
    table.settle(slot, SlotState::Left);
    left_.push_back({path, why});
  }

  bool below_a_folder_not_made(const std::string& path) const {
    return std::ranges::any_of(not_made_,
                               [&](const std::string& folder) { return lies_below(path, folder); });
  }

  bool holds_an_entry_left(const std::string& folder) const {
    const auto left_below = [&](const auto& table, const auto& path_of) {
      for (std::size_t slot = 1; slot <= table.count(); ++slot) {
        if (table.state(slot) == SlotState::Left && lies_below(path_of(table[slot]), folder)) {
          return true;
        }
      }
      return false;
    };
    return left_below(tables_.deleted_files, [](const FileDeletion& f) { return f.path; }) ||
           left_below(tables_.deleted_folders, [](const std::string& f) { return f; });
  }

  void take(const CopyBatch::Placed& placed) {
    for (std::size_t i = 0; i < placed.placed.size(); ++i) {
      const std::string& destination = placed.placed[i];
      const std::size_t slot = copying_.at(destination);
      const CopyBatch::Written& written = placed.written[i];
      tables_.copies.settle(slot, SlotState::Done);
      CopyEntry& copy = tables_.copies.at(slot);
      copy.written_hash = written.hash;
      copy.written_from = written.source;
      copy.placed = written.in_place;
      placed_.push_back({slot, written.hash});
      if (std::ranges::binary_search(unkept_, slot)) {
        not_kept_.push_back({destination, LeftReason::NotKept});
      }
      window_.list_add(Control::List1, update_text(destination));
      changed(destination);
    }
    for (const std::string& destination : placed.changed) {
      keeping_.left_at_placing(destination);
      leave(tables_.copies, copying_.at(destination), destination, LeftReason::Changed);
    }
  }

  // The journal names the batch's copies before they take their names: its
  // lines are written before the batch's flush, which covers them too.
  void placing(CopyBatch::Step step, const std::vector<CopyBatch::Placement>& batch,
               std::vector<sys::Handle>& flushed) {
    if (step == CopyBatch::Step::Flushing) {
      progress_.flushing(true);
      keeping_.placing(batch, flushed);
    } else {
      keeping_.flushed();
      progress_.flushing(false);
    }
  }

  // The folder that holds a path the run changed: flushed at the end.
  void changed(std::string_view path) { changed_folders_.emplace(folder_of(path)); }

  Window& window_;
  WorkTables& tables_;
  const Roots& roots_;
  const bool deletions_;
  RunProgress progress_;  // on the taskbar button or launcher
  RunKeeping keeping_;
  WholeFolders whole_;
  CopyBatch copies_;
  std::unordered_map<std::string, std::size_t> copying_;  // copy slots by destination
  std::vector<std::string> not_made_;                      // folders left
  std::unordered_set<std::string> scanned_folders_;        // where the scan saw folders to remove
  std::set<std::string> changed_folders_;
  std::vector<LeftEntry> left_;
  const std::vector<std::size_t> unkept_;  // copies that replace without keeping
  std::vector<LeftEntry> not_kept_;        // and those placed so
  const bool check_copies_;
  struct PlacedCopy {
    std::size_t slot;
    ContentHash hash;
  };
  std::vector<PlacedCopy> placed_;  // in the order they took their names
  std::unordered_map<std::size_t, std::string> kept_as_;  // where replaced files were kept
  std::size_t unconfirmed_ = 0;  // copies the medium did not give back as written
};

}  // namespace

std::string progress_text(std::string_view label, std::size_t slot, std::size_t count) {
  return std::string(label) + " " + std::to_string(slot) + " / " + std::to_string(count);
}

ExecutionReport execute_work_lists(Window& window, WorkTables& tables, const Roots& roots,
                                   const RunSetting& setting) {
  window.set_text(Control::Edit3, kCopiedHeading);
  window.set_text(Control::Edit4, kDeletedHeading);
  // The computer does not go to sleep on its own while the lists are
  // carried out: a sleeping laptop suspends the stick's port.
  const sys::SleepGuard awake;
  // Without deletions an entry cannot leave its old place: what moved is
  // copied to its new one.
  if (window.is_checked(Control::Check1)) tables.unfold_moves();
  Execution execution(window, tables, roots, setting);
  window.list_clear(Control::List1);
  window.list_clear(Control::List2);
  return execution.run();
}

}  // namespace tav
