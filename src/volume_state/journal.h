// The journal of a run, kept with what the run kept: every action in the
// order it was taken, written and flushed with each batch before the
// batch's renames, so that after a kill, a pulled medium or a power cut
// every file is at its place, in the kept folder, or in a temporary file the
// journal names. One line per action, UTF-8, fields between tabs.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/folder_reading.h"

namespace tav::state {

enum class Action {
  FolderMade,
  FilePlaced,    // a new file: the version placed, the temporary file it came from
  FileReplaced,  // the same over a file now kept under the run
  FileKept,      // a file the run deleted, kept under the run
  FolderRemoved,
  RecordKept,    // the pair's record before the run, kept under the run on the drive
  FileLeft,      // a file noted as placed or replaced that was left as it was instead
};

struct JournalEntry {
  Action action;
  std::string path;  // relative to the side's root, "/" between names
  FileVersion version;    // placed and replaced files
  std::string temporary;  // placed and replaced files: the temporary file's name
  bool operator==(const JournalEntry&) const = default;
};

struct Journal {
  std::string pair_id;
  bool to_drive = true;  // the run's direction: the side it changed
  std::string undo_of;   // an undo's journal: the run it undid
  std::vector<JournalEntry> entries;
  bool undone = false;
};

// The journal's first line, and the line of one entry (each with its end).
std::string head_line(const Journal& journal);
std::string entry_line(const JournalEntry& entry);
// The line that marks a run undone.
std::string undone_line();

// None for a text that is not a journal; a last line without its end (cut
// off while it was written) is passed over.
std::optional<Journal> parse_journal(std::string_view text);

}  // namespace tav::state
