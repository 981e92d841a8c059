// Giving an entry another spelling of its name: names that differ only in
// their Unicode form or in case. Many file systems take such a rename for
// no change at all (FAT, exFAT and NTFS ignore a rename that changes case
// only, or report success without making it), so the entry goes through a
// temporary name in its folder, and the folder is read again to confirm the
// new spelling byte for byte.
#pragma once

#include <source_location>
#include <string>
#include <string_view>

namespace tav {

// A name in folder (a path, with or without its trailing separator) that
// nothing holds now, for an entry between its two spellings:
// "~tavrelon-rename-", the process number, "-", a counter. It is no
// temporary name of a copy (is_temporary_name): an entry a killed run left
// there is the user's, never removed or passed over as a half-written copy.
// The caller names it in the run's journal before the rename.
std::string spelling_temporary_name(std::string_view folder);

// Whether a name is one spelling_temporary_name gives, on any system.
bool is_spelling_temporary_name(std::string_view name);

// Whether the folder (without its trailing separator) lists the name byte
// for byte: a volume that ignores case or Unicode form finds other
// spellings by a look-up too.
bool lists_name(const std::string& folder, std::string_view name);

// Renames the file or folder old_name in folder to new_name through the
// temporary name temporary (from spelling_temporary_name), then confirms
// that the folder lists new_name. A refusal raises its run-time error with
// the entry at old_name: where the second rename is refused, the first is
// undone (only a refusal of that too leaves the entry at the temporary
// name). A rename the system reported done that the listing does not show
// raises error 27 with the entry wherever the system put it.
void rename_spelling(std::string_view folder, std::string_view old_name, std::string_view new_name,
                     std::string_view temporary,
                     std::source_location where = std::source_location::current());

}  // namespace tav
