// The lines of LIST1 (files to create or update, folders to create,
// entries to rename to the source's spelling) and LIST2 (files and folders
// to delete). Each line is the entry's text, spaces
// up to a fixed width in code page 932 bytes, and an 8-character index field
// naming the table slot: the only link between a row of the sorted LIST1 and
// its slot.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "window/window.h"
#include "volume_state/pair.h"
#include "worklist/work_tables.h"

namespace tav {

inline constexpr std::size_t kCopyTextWidth = 126;
inline constexpr std::size_t kOtherTextWidth = 256;
inline constexpr long kFolderIndexBase = 1000000;
inline constexpr long kFolderIndexThreshold = 100000;
inline constexpr long kRenameIndexBase = 2000000;
inline constexpr long kMoveIndexBase = 3000000;

// text, spaces up to width bytes (none if the text is longer), and the index
// right-aligned in 8 characters.
std::string format_line(std::string_view text, std::size_t width, long index);

// The texts of the entries, as the lists show them.
std::string copy_entry_text(const CopyEntry& entry, const Roots& roots);
std::string new_folder_text(std::string_view folder);
// The short line of a file being copied during the execution.
std::string update_text(std::string_view destination);
std::string deletion_text(std::string_view path);
// A rename: the destination's path in the source's spelling.
std::string rename_text(const SpellingRename& rename, const Roots& roots);
// A move: the destination's new path.
std::string move_text(const Move& move, const Roots& roots);

// The lines of each list, listed slots only, files before folders (then
// renames and moves in LIST1), each in slot order.
std::vector<std::string> list1_lines(const WorkTables& tables, const Roots& roots);
std::vector<std::string> list2_lines(const WorkTables& tables);

void fill_list1(Window& window, const WorkTables& tables, const Roots& roots);
void fill_list2(Window& window, const WorkTables& tables);

// What a line names: a file entry (an index below kFolderIndexThreshold is
// the slot), a folder entry (the index less kFolderIndexBase), a rename
// (the index less kRenameIndexBase) or a move (less kMoveIndexBase; folder
// false for both). An empty line names file slot 0.
struct LineTarget {
  bool folder = false;
  long slot = 0;
  bool rename = false;
  bool move = false;
};
LineTarget read_line(std::string_view line);

}  // namespace tav
