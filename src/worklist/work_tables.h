// The work tables the scan fills: files to create or update, folders to
// create, files to delete, folders to delete, destination entries that
// take the source's spelling, and entries the source moved. Slots are
// numbered from 1 in the order the scan appended them; they never move and
// counts never shrink.
// A table owns the state of each slot: listed, withdrawn from the lists, or
// met by the execution (done, or left as it was).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <iterator>
#include <source_location>
#include <string>
#include <vector>

#include "errors/runtime_error.h"
#include "platform/folder_reading.h"

namespace tav {

struct CopyEntry {
  std::string path;        // relative to both roots
  std::string left_date;   // the folder side's date text, empty if absent there
  std::string right_date;  // the drive side's date text, empty if absent there
  // The versions the scan saw on the folder side and on the drive side;
  // none where the file was absent.
  std::optional<FileVersion> left_seen;
  std::optional<FileVersion> right_seen;
  // Once the copy is placed: the hash of the bytes written.
  std::optional<std::uint64_t> written_hash;
  // The source file's own number on its volume (ListedEntry::identity).
  std::uint64_t source_identity = 0;
  // Once placed: the source's version its bytes were read as, and the copy
  // as it stood once placed (its version and identity; none where it was
  // not seen as written). The record of the run takes both sides from these.
  std::optional<FileVersion> written_from;
  std::optional<ListedEntry> placed;
};

struct FileDeletion {
  std::string path;  // the file to delete
  FileVersion seen;
};

// A destination entry whose name differs from its source's only in Unicode
// form or (where a volume ignores case) only in case: renamed to the
// source's spelling, a folder before anything below it. Every other table's
// paths below it are written in the source's spelling, so the renames come
// before everything else the run does.
struct SpellingRename {
  std::string path;      // relative to both roots, in the source's spelling
  std::string old_name;  // the destination entry's name now (its last name only)
  bool folder = false;
};

// An entry the source moved since the last run, moved on the destination
// by one rename: a file, or a folder with everything in it. It stands for
// entries of the other tables (a creation at to and a deletion at from,
// with what lies below a folder), which stay out of the lists while the
// move is listed and come back when it is withdrawn.
struct Move {
  std::string from;  // relative to both roots: where the destination holds it
  std::string to;    // where the source holds it now
  bool folder = false;
  std::vector<std::size_t> copies, new_folders, deleted_files, deleted_folders;
};

inline constexpr std::size_t kMaxCopies = 99999;
inline constexpr std::size_t kMaxNewFolders = 9999;
inline constexpr std::size_t kMaxDeletedFiles = 99999;
inline constexpr std::size_t kMaxDeletedFolders = 9999;
inline constexpr std::size_t kMaxRenames = 99999;
inline constexpr std::size_t kMaxMoves = 99999;

enum class SlotState : std::uint8_t {
  Listed,     // as the scan found it
  Withdrawn,  // out of the lists (a double-click, or a check before the review)
  Done,       // carried out
  Left,       // met by the execution and left as it was
  Moved,      // out of the lists, a listed move standing for it
};

// One table: slot n is element n - 1.
template <typename Entry>
class WorkTable {
 public:
  struct Slot {
    std::size_t slot;
    const Entry& entry;
  };

  explicit WorkTable(std::size_t capacity) : capacity_(capacity) {}

  // Appends a listed entry; a full table raises run-time error 9.
  void append(Entry entry, std::source_location where = std::source_location::current());

  std::size_t count() const { return entries_.size(); }
  bool has_slot(std::size_t slot) const { return slot >= 1 && slot <= entries_.size(); }
  const Entry& operator[](std::size_t slot) const { return entries_[slot - 1]; }
  // For what the execution learns of an entry as it acts on it.
  Entry& at(std::size_t slot) { return entries_[slot - 1]; }

  SlotState state(std::size_t slot) const { return states_[slot - 1]; }
  bool is_listed(std::size_t slot) const { return state(slot) == SlotState::Listed; }
  // Takes a listed entry out of the lists; any other slot stays as it is.
  void withdraw(std::size_t slot) { settle(slot, SlotState::Withdrawn); }
  // The execution's account of a listed entry: done, or left.
  void settle(std::size_t slot, SlotState state) {
    if (has_slot(slot) && is_listed(slot)) states_[slot - 1] = state;
  }
  // A listed entry a move stands for from now on, and back in the lists
  // when the move is withdrawn.
  void stand_in_move(std::size_t slot) { settle(slot, SlotState::Moved); }
  void relist(std::size_t slot) {
    if (has_slot(slot) && state(slot) == SlotState::Moved) states_[slot - 1] = SlotState::Listed;
  }
  // A slot settled once that turns out otherwise: a copy done that its
  // check takes back.
  void settle_again(std::size_t slot, SlotState state) {
    if (has_slot(slot)) states_[slot - 1] = state;
  }

  // The slots still listed, in slot order or backwards. Each is tested as
  // the iteration reaches it, so that a slot settled meanwhile (done ahead
  // of its turn) is passed over.
  class ListedSlots {
   public:
    class iterator {
     public:
      iterator(const WorkTable& table, std::size_t slot, std::size_t stop, int step)
          : table_(&table), slot_(slot), stop_(stop), step_(step) {
        pass_over_unlisted();
      }
      Slot operator*() const { return {slot_, (*table_)[slot_]}; }
      iterator& operator++() {
        slot_ += static_cast<std::size_t>(step_);
        pass_over_unlisted();
        return *this;
      }
      bool operator==(std::default_sentinel_t) const { return slot_ == stop_; }

     private:
      void pass_over_unlisted() {
        while (slot_ != stop_ && !table_->is_listed(slot_)) slot_ += static_cast<std::size_t>(step_);
      }
      const WorkTable* table_;
      std::size_t slot_, stop_;
      int step_;
    };

    ListedSlots(const WorkTable& table, bool backwards) : table_(table), backwards_(backwards) {}
    iterator begin() const {
      return backwards_ ? iterator(table_, table_.count(), 0, -1)
                        : iterator(table_, 1, table_.count() + 1, 1);
    }
    std::default_sentinel_t end() const { return {}; }

   private:
    const WorkTable& table_;
    bool backwards_;
  };
  ListedSlots listed() const { return {*this, false}; }
  ListedSlots listed_backwards() const { return {*this, true}; }

 private:
  std::size_t capacity_;
  std::vector<Entry> entries_;
  std::vector<SlotState> states_;
};

struct WorkTables {
  WorkTable<CopyEntry> copies{kMaxCopies};
  WorkTable<std::string> new_folders{kMaxNewFolders};
  WorkTable<FileDeletion> deleted_files{kMaxDeletedFiles};
  WorkTable<std::string> deleted_folders{kMaxDeletedFolders};
  // In the order of the walk: a folder before the entries below it.
  WorkTable<SpellingRename> renames{kMaxRenames};
  // Outermost first; in the order of the destination's walk.
  WorkTable<Move> moves{kMaxMoves};
  // Temporary files of copies an interrupted run left on the destination:
  // removed as the run starts, never listed, never kept.
  std::vector<std::string> stray_temporaries;

  // Everything the scan found, withdrawn entries included.
  std::size_t total() const {
    return copies.count() + new_folders.count() + deleted_files.count() +
           deleted_folders.count() + renames.count() + moves.count();
  }
  std::size_t deletions() const { return deleted_files.count() + deleted_folders.count(); }

  // Takes a listed move out of the lists and lists again the creation and
  // the deletion it stood for, as the scan found them.
  void unfold_move(std::size_t slot) {
    if (!moves.has_slot(slot) || !moves.is_listed(slot)) return;
    moves.withdraw(slot);
    const Move& move = moves[slot];
    for (const std::size_t entry : move.copies) copies.relist(entry);
    for (const std::size_t entry : move.new_folders) new_folders.relist(entry);
    for (const std::size_t entry : move.deleted_files) deleted_files.relist(entry);
    for (const std::size_t entry : move.deleted_folders) deleted_folders.relist(entry);
  }
  void unfold_moves() {
    for (std::size_t slot = 1; slot <= moves.count(); ++slot) unfold_move(slot);
  }
};

template <typename Entry>
void WorkTable<Entry>::append(Entry entry, std::source_location where) {
  if (entries_.size() >= capacity_) raise_out_of_range(where);
  entries_.push_back(std::move(entry));
  states_.push_back(SlotState::Listed);
}

}  // namespace tav
