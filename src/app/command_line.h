// What the Linux program answers on its command line before any window
// opens (so without a display): its help and its version. Everything else on
// the line is left to the window toolkit, which takes its own options out of
// it; what is left after that is a mistake.
#pragma once

#include <optional>
#include <ostream>
#include <span>

namespace tav {

// "--help"/"-h" prints the help and "--version" the version on out (status
// 0); another argument starting with "--" is an unknown option, told on err
// (status 2). Nothing when the program is to open its window.
std::optional<int> answer_command_line(std::span<char* const> arguments, std::ostream& out,
                                       std::ostream& err);

// The arguments left over once the toolkit has taken its own: any is told on
// err (status 2).
std::optional<int> refuse_left_over_arguments(std::span<char* const> arguments,
                                              std::ostream& err);

}  // namespace tav
