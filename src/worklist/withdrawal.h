// Withdrawing entries by double-click in the review state.
#pragma once

#include "window/window.h"
#include "volume_state/pair.h"
#include "worklist/work_tables.h"

namespace tav {

// Asks to withdraw the selected entry of list (LIST1 or LIST2) and, on OK,
// blanks its slot. A folder entry takes every entry below it in the same
// list along; in LIST2, the removal of every folder that contains a withdrawn
// entry is withdrawn too, since that folder will not be empty. The list is
// rebuilt whatever the answer.
void withdraw_selected_entry(Window& window, Control list, WorkTables& tables, const Roots& roots);

// Withdraws LIST1's entries by slot, as a confirmed double-click does: a
// copy alone; a folder to create with every folder and copy below it.
void withdraw_copy(WorkTables& tables, std::size_t slot);
void withdraw_new_folder(WorkTables& tables, std::size_t slot, const Roots& roots);

// Withdraws a rename by slot, as a confirmed double-click does, with every
// entry of either list at or below its path: they are written in the
// source's spelling, which the destination takes only by the rename (a file
// renamed and updated loses its update; a folder everything below it).
void withdraw_rename(WorkTables& tables, std::size_t slot, const Roots& roots);

// Withdraws LIST2's entries by slot, as a confirmed double-click does: a
// file alone, a folder with everything below it; the removal of every
// folder that holds it goes too, since that folder will not be empty.
void withdraw_file_deletion(WorkTables& tables, std::size_t slot);
void withdraw_folder_removal(WorkTables& tables, std::size_t slot);

// The note under a folder entry in its confirmation box.
inline constexpr std::string_view kFolderNote = "\r\r選択フォルダ内のファイルもリストからはずれます";

}  // namespace tav
