#include "files/spelling_rename.h"

#include <algorithm>
#include <atomic>
#include <vector>

#include "errors/detail_words.h"
#include "errors/runtime_error.h"
#include "files/operations.h"
#include "platform/folder_reading.h"
#include "platform/name_fold.h"
#include "platform/system_faults.h"
#include "platform/system_files.h"
#include "platform/text.h"

namespace tav {

namespace {

constexpr std::string_view kStem = "~tavrelon-rename-";

// Windows takes "/" between names as well.
bool ends_in_separator(std::string_view folder) {
  return !folder.empty() && (folder.back() == kPathSeparator || folder.back() == '/');
}

std::string without_separator(std::string_view folder) {
  return std::string(ends_in_separator(folder) ? folder.substr(0, folder.size() - 1) : folder);
}

std::string path_in(const std::string& folder, std::string_view name) {
  return folder + kPathSeparator + std::string(name);
}

// Whether the folder lists an entry of the name (in any form or case)
// other than the one at temporary; an unreadable folder holds one.
bool holds_another(const std::string& folder, std::string_view name, std::string_view temporary) {
  std::vector<ListedEntry> entries;
  if (!read_folder(folder, entries)) return true;
  const std::string folded = fold_name(name, true);
  return std::ranges::any_of(entries, [&](const ListedEntry& entry) {
    return entry.name != temporary && fold_name(entry.name, true) == folded;
  });
}

// The second rename. A look-up may answer from the system's memory of an
// earlier look-up by the other spelling (FUSE keeps such an entry for a
// moment after a rename moved what it found): where the folder's listing
// holds nothing of the name, the rename is made without a look first.
bool take_new_name(const std::string& folder, const std::string& between, const std::string& to,
                   std::string_view new_name, std::string_view temporary) {
  if (sys::rename_new(between, to)) return true;
  const sys::Code code = sys::last_code(to);
  if ((code == sys::kAlreadyExists || code == sys::kFileExists) &&
      !holds_another(folder, new_name, temporary)) {
    return sys::rename_into_kept(between, to);
  }
  sys::set_last_code(code);
  return false;
}

void check_length(std::string_view path, std::source_location where) {
  if (cp932_length(path) > kMaxPathBytes) {
    raise_error(err::kBadFileName, detail::kDeleteTooLong, where);
  }
}

}  // namespace

std::string spelling_temporary_name(std::string_view folder) {
  static std::atomic<unsigned> counter{0};
  const std::string at = without_separator(folder);
  for (;;) {
    std::string name = std::string(kStem) + std::to_string(sys::process_id()) + "-" +
                       std::to_string(counter++);
    if (!lookup_finds(at, name)) return name;
  }
}

bool is_spelling_temporary_name(std::string_view name) {
  if (!name.starts_with(kStem)) return false;
  const std::string_view numbers = name.substr(kStem.size());
  const auto dash = numbers.find('-');
  const auto digits = [](std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
  };
  return dash != std::string_view::npos && digits(numbers.substr(0, dash)) &&
         digits(numbers.substr(dash + 1));
}

bool lists_name(const std::string& folder, std::string_view name) {
  std::vector<ListedEntry> entries;
  return read_folder(folder, entries) &&
         std::ranges::any_of(entries, [&](const ListedEntry& entry) { return entry.name == name; });
}

void rename_spelling(std::string_view folder, std::string_view old_name, std::string_view new_name,
                     std::string_view temporary, std::source_location where) {
  const std::string at = without_separator(folder);
  const std::string from = path_in(at, old_name), to = path_in(at, new_name),
                    between = path_in(at, temporary);
  for (const std::string& path : {from, to, between}) check_length(path, where);
  if (!sys::rename_new(from, between)) {
    raise_system_error(sys::last_code(from), detail::kKeepRefused, where);
  }
  if (!take_new_name(at, between, to, new_name, temporary)) {
    const sys::Code code = sys::last_code(to);
    sys::rename_new(between, from);
    raise_system_error(code, detail::kKeepRefused, where);
  }
  if (!lists_name(at, new_name)) raise_error(err::kSystemRefused, detail::kKeepRefused, where);
}

}  // namespace tav
