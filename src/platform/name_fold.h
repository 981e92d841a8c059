// Names compared as a pair of volumes compares them: in their composed
// Unicode form always (a Mac writes "が" as "か" and a combining mark; both
// are one name to the user), and without regard to case where a volume
// looks names up without it, each letter by its simple upper case.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tav {

// The name with each letter of the Latin, Greek and Cyrillic alphabets
// (full-width Latin letters included) in upper case; other characters as
// they are.
std::string fold_case(std::string_view name);

// The name with the case of its letters swapped where they have two; the
// name itself when it has no such letter.
std::string swap_case(std::string_view name);

// Whether composing may change the name: false for a name whose characters
// all lie below U+0300 (every byte below 0xCC), which is composed as it is
// and no other name composes into.
bool may_need_composing(std::string_view name);

// The name in its composed form (NFC), from the system's normalization; a
// name that is no valid UTF-8 stays as it is.
std::string compose(std::string_view name);
// The same where it differs from the name; none where the name is composed
// already (most names), without making a copy of it.
std::optional<std::string> recomposed(std::string_view name);

// The name as a pair of volumes compares it: composed, then its case folded
// where either volume ignores case.
std::string fold_name(std::string_view name, bool ignore_case);

}  // namespace tav
