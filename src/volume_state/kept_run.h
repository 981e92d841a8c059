// A run's folder under a side's kept folder, made at the run's first
// change: what the run deletes or replaces is moved into it at the same
// relative path (a rename on the same volume), and its journal lies in the
// run's own folder (state_layout.h). Every folder is made beneath the side's
// root: one that is a link or on another volume is refused.
#pragma once

#include <set>
#include <source_location>
#include <string>
#include <string_view>

#include "files/temporary_file.h"
#include "volume_state/journal.h"

namespace tav::state {

class KeptRun {
 public:
  // Makes the run's folder under the side's root (with its separator) and
  // its journal, and writes the journal's head.
  KeptRun(std::string root, std::string name, const Journal& head,
          std::source_location where = std::source_location::current());

  const std::string& name() const { return name_; }
  // The run's folder and its own folder, as the system is given them.
  std::string folder() const;
  std::string own_folder() const;

  // Where the entry at rel (relative to the side's root, the platform's
  // separator) is kept; the folders that hold it are made. The name is
  // free: a name handed out before, or one in a folder the run found
  // rather than made, is looked at, and one taken raises its error.
  std::string place_for(std::string_view rel,
                        std::source_location where = std::source_location::current());

  // An action, written with the next commit.
  void note(const JournalEntry& entry);
  void note_record_kept();
  // Writes what was noted and flushes the journal to its medium; a refusal
  // raises its run-time error.
  void commit(std::source_location where = std::source_location::current());
  // Writes what was noted for a flush of the caller's that covers the
  // journal too: the journal's file. Then flushed() once that flush is done.
  sys::Handle write(std::source_location where = std::source_location::current());
  void flushed() { unflushed_ = false; }

 private:
  std::string root_, name_;
  sys::OpenFile journal_;
  std::string pending_;
  bool unflushed_ = false;  // written since the last flush
  std::set<std::string> made_;     // folders under the run (relative), made or found
  std::set<std::string> found_;    // of those, the ones that were there before
  std::set<std::string> handed_;   // the names handed out, composed and case folded
};

}  // namespace tav::state
