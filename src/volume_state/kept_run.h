// A run's folder under a side's kept folder, made at the run's first
// change: what the run deletes or replaces is moved into it at the same
// relative path (a rename on the same volume), and its journal lies beside.
// The run's own files (the journal, the record it moved aside) lie in a
// folder of the state folder's name inside the run's folder: no first-level
// folder of that name takes part in a run, so no kept file stands there.
#pragma once

#include <set>
#include <source_location>
#include <string>
#include <string_view>

#include "files/temporary_file.h"
#include "platform/folder_reading.h"
#include "volume_state/journal.h"

namespace tav::state {

inline constexpr std::string_view kJournalName = "journal";
inline constexpr std::string_view kKeptRecordName = "record";

// The folder of a run's own files.
std::string own_folder(std::string_view run_folder);
// Makes the folder of the own files of the run of that name under a side's
// root (with its separator), and the folders that hold it; its path.
std::string make_own_folder(std::string_view root, std::string_view run_name,
                            std::source_location where = std::source_location::current());
// The path of one of a run's own files. A run's folder may also hold them
// beside the kept files, as stored runs did before they had a folder of
// their own: a file found only there is read there.
std::string own_file(std::string_view run_folder, std::string_view name);
// Whether an entry at the top of a run's folder is the run's own rather
// than a kept one.
bool is_own_entry(const ListedEntry& entry);

class KeptRun {
 public:
  // Makes the run's folder under the side's root (with its separator) and
  // its journal, and writes the journal's head.
  KeptRun(std::string root, std::string name, const Journal& head,
          std::source_location where = std::source_location::current());

  const std::string& folder() const { return folder_; }
  const std::string& name() const { return name_; }

  // Where the entry at rel (relative to the side's root, the platform's
  // separator) is kept; the folders that hold it are made. The name is
  // free: a name handed out before, or one in a folder the run found
  // rather than made, is looked at, and one taken raises its error.
  std::string place_for(std::string_view rel,
                        std::source_location where = std::source_location::current());

  // An action, written with the next commit.
  void note(const JournalEntry& entry);
  // Writes what was noted and flushes the journal to its medium; a refusal
  // raises its run-time error.
  void commit(std::source_location where = std::source_location::current());
  // Writes what was noted for a flush of the caller's that covers the
  // journal too: the journal's file. Then flushed() once that flush is done.
  sys::Handle write(std::source_location where = std::source_location::current());
  void flushed() { unflushed_ = false; }

 private:
  std::string root_, name_, folder_;
  sys::OpenFile journal_;
  std::string pending_;
  bool unflushed_ = false;  // written since the last flush
  std::set<std::string> made_;     // folders under the run, made or found
  std::set<std::string> found_;    // of those, the ones that were there before
  std::set<std::string> handed_;   // the names handed out, their case folded
};

}  // namespace tav::state
