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
#include "volume_state/state_path.h"

namespace tav::state {

enum class Action {
  FolderMade,
  FilePlaced,    // a new file: the version placed, the temporary file it came from
  FileReplaced,  // the same over a file now kept under the run
  FileOverwritten,  // the same over a file not kept, for want of room
  FileKept,      // a file the run deleted, kept under the run
  FolderRemoved,
  FileLeft,      // a file noted as placed or replaced that was left as it was instead
  FileWriting,   // a copy about to be written beside its destination, under a temporary name
  Renamed,       // an entry given another spelling of its name, through a temporary name
  Moved,         // an entry renamed from another path beneath the same root
};

struct JournalEntry {
  Action action;
  StatePath path;         // relative to the side's root
  FileVersion version;    // placed and replaced files
  std::string temporary;  // placed and replaced files: the temporary file's name;
                          // renamed: the name between the two spellings
  std::optional<StatePath> from;  // renamed: the entry's former spelling; moved: its former path
  bool operator==(const JournalEntry&) const = default;
};

struct Journal {
  std::string pair_id;
  bool to_drive = true;     // the run's direction: the side it changed
  std::int64_t began = 0;   // when the run began (seconds since 1970; 0: not noted)
  std::string undo_of;      // an undo's journal: the run it undid
  bool record_kept = false;  // the pair's record before the run, kept under the run on the drive
  std::vector<JournalEntry> entries;
  bool undone = false;
};

// The journal's first line, the line of one entry, the line that notes the
// record kept and the one that marks a run undone (each with its end).
std::string head_line(const Journal& journal);
std::string entry_line(const JournalEntry& entry);
std::string record_kept_line();
std::string undone_line();

// None for a text that is not a whole journal: a line that does not read,
// a path that is not one (state_path.h), a time or size out of range. Only
// a last line without its end (cut off while it was written) is passed over.
std::optional<Journal> parse_journal(std::string_view text);

// A file's name as a copy's temporary file, in the folder of its
// destination: a name alone, no path.
bool is_temporary_field(std::string_view name);
// The same of the name between a renamed entry's two spellings.
bool is_spelling_temporary_field(std::string_view name);

}  // namespace tav::state
