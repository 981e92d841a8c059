// The system's side of names compared in one Unicode form: the composed
// form (NFC) as the system (Windows) or a well-kept library (utf8proc on
// Linux) gives it. name_fold.h is the interface the core uses.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tav::sys {

// The valid UTF-8 name in its composed form where that differs from the
// name; none where the name is composed already, or the system cannot
// compose it (the name then stays as it is).
std::optional<std::string> composed_form(std::string_view name);

}  // namespace tav::sys
