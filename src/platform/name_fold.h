// Names compared without regard to case, as volumes that ignore case in
// their look-ups compare them: each letter by its simple upper case.
#pragma once

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

}  // namespace tav
