#include "app/command_line.h"

#include <string_view>

#include "app/settings_file.h"
#include "app/version.h"
#include "platform/settings_location.h"

namespace tav {

namespace {

constexpr std::string_view kProgram = "tavrelon";

constexpr std::string_view kHelp =
    "Usage: tavrelon [OPTION]\n"
    "Brings one folder tree up to date from another, one direction per run: a\n"
    "folder on this computer and the root of a drive (a USB stick, an external\n"
    "disk). The window lists what would be created, updated and deleted, lets\n"
    "you strike entries, and then carries the lists out.\n"
    "\n"
    "  -h, --help     show this help and exit\n"
    "      --version  show the version and exit\n"
    "\n"
    "Qt's own options, such as -platform or -display, are accepted as well.\n";

void tell_mistake(std::ostream& err, std::string_view what, std::string_view argument) {
  err << kProgram << ": " << what << " '" << argument << "'\n"
      << "Try '" << kProgram << " --help' for more information.\n";
}

}  // namespace

std::optional<int> answer_command_line(std::span<char* const> arguments, std::ostream& out,
                                       std::ostream& err) {
  for (const char* argument : arguments.subspan(arguments.empty() ? 0 : 1)) {
    const std::string_view text = argument;
    if (text == "--help" || text == "-h") {
      out << kHelp << "\nThe last folder and drive are kept in "
          << settings_file_path(kSettingsFileName, SettingsAccess::kRead) << ".\n";
      return 0;
    }
    if (text == "--version") {
      out << kProgram << ' ' << TAV_VERSION << '\n';
      return 0;
    }
    if (text.starts_with("--")) {
      tell_mistake(err, "unknown option", text);
      return 2;
    }
  }
  return std::nullopt;
}

std::optional<int> refuse_left_over_arguments(std::span<char* const> arguments,
                                              std::ostream& err) {
  if (arguments.size() < 2) return std::nullopt;
  tell_mistake(err, arguments[1][0] == '-' ? "unknown option" : "unexpected argument",
               arguments[1]);
  return 2;
}

}  // namespace tav
