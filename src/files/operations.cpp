#include "files/operations.h"

#include "errors/detail_words.h"
#include "errors/runtime_error.h"
#include "platform/folder_reading.h"
#include "platform/system_files.h"
#include "platform/text.h"

namespace tav {

namespace {

bool too_long(std::string_view path) { return cp932_length(path) > kMaxPathBytes; }

void check_length(std::string_view path, int number, std::uint32_t detail_word,
                  std::source_location where) {
  if (too_long(path)) raise_error(number, detail_word, where);
}

void check_no_wildcards(std::string_view path, std::uint32_t star, std::uint32_t question,
                        std::source_location where) {
  if (sys::kNamesMayHoldWildcards) return;
  if (path.find('*') != std::string_view::npos) raise_error(err::kBadFileName, star, where);
  if (path.find('?') != std::string_view::npos) raise_error(err::kBadFileName, question, where);
}

void check_system(sys::Code code, std::uint32_t detail_word, std::source_location where) {
  if (code != 0) raise_system_error(code, detail_word, where);
}

// The entry at an exact path; a path ending in the separator finds nothing,
// as the system's own search does.
std::optional<ListedEntry> exact_entry(std::string_view path) {
  if (path.empty() || path.back() == kPathSeparator || too_long(path)) return std::nullopt;
  return entry_at(std::string(path));
}

}  // namespace

bool file_exists(std::string_view path, std::source_location where) {
  check_no_wildcards(path, detail::kFileExistsStar, detail::kFileExistsQuestion, where);
  const auto entry = exact_entry(path);
  return entry && !entry->folder;
}

bool folder_exists(std::string_view path, std::source_location where) {
  check_no_wildcards(path, detail::kFolderExistsStar, detail::kFolderExistsQuestion, where);
  const auto entry = exact_entry(path);
  return entry && entry->folder;
}

void make_folder(std::string_view path, std::source_location where) {
  check_length(path, err::kBadArgument, detail::kMakeFolderTooLong, where);
  check_system(sys::create_folder(path), detail::kMakeFolderRefused, where);
}

void remove_folder(std::string_view path, std::source_location where) {
  check_length(path, err::kBadArgument, detail::kRemoveFolderTooLong, where);
  check_system(sys::remove_folder(path), detail::kRemoveFolderRefused, where);
}

bool remove_empty_folder(std::string_view path, std::source_location where) {
  check_length(path, err::kBadArgument, detail::kRemoveFolderTooLong, where);
  const sys::Code code = sys::remove_folder(path);
  if (code == sys::kDirNotEmpty) return false;
  check_system(code, detail::kRemoveFolderRefused, where);
  return true;
}

void delete_file(std::string_view path, std::source_location where) {
  check_length(path, err::kBadFileName, detail::kDeleteTooLong, where);
  if (sys::is_device_name(path)) raise_error(err::kBadFileName, detail::kDeleteDevice, where);
  const sys::Code code = sys::delete_file(path);
  if (code == sys::kFileNotFound || code == sys::kPathNotFound) {
    raise_error(err::kPathNotFound, detail::kDeleteNoFile, where);
  }
  check_system(code, detail::kDeleteRefused, where);
}

bool is_temporary_name(std::string_view name) {
  using sys::kTemporaryStem, sys::kTemporarySuffix;
  if (name.starts_with('.')) name.remove_prefix(1);
  if (!name.starts_with(kTemporaryStem) || !name.ends_with(kTemporarySuffix)) return false;
  const std::string_view numbers = name.substr(
      kTemporaryStem.size(), name.size() - kTemporaryStem.size() - kTemporarySuffix.size());
  const auto dash = numbers.find('-');
  const auto digits = [](std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
  };
  return dash != std::string_view::npos && digits(numbers.substr(0, dash)) &&
         digits(numbers.substr(dash + 1));
}

std::string read_small_file(std::string_view path, std::source_location where) {
  check_length(path, err::kBadFileName, detail::kOpenTooLong, where);
  std::string content;
  check_system(sys::read_file(path, content), detail::kOpenRefused, where);
  return content;
}

namespace {

void move_by(bool (*rename)(std::string_view, std::string_view), std::string_view path,
             std::string_view to, std::source_location where) {
  check_length(path, err::kBadFileName, detail::kDeleteTooLong, where);
  check_length(to, err::kBadFileName, detail::kDeleteTooLong, where);
  if (!rename(path, to)) raise_system_error(sys::last_code(path), detail::kKeepRefused, where);
}

}  // namespace

void move_aside(std::string_view path, std::string_view to, std::source_location where) {
  move_by(sys::rename_new, path, to, where);
}

void keep_aside(std::string_view path, std::string_view kept_as, std::source_location where) {
  move_by(sys::rename_into_kept, path, kept_as, where);
}

void put_in_place_keeping(std::string_view from, std::string_view path, std::string_view keep_as,
                          std::source_location where) {
  for (const std::string_view name : {from, path, keep_as}) {
    check_length(name, err::kBadFileName, detail::kDeleteTooLong, where);
  }
  if (!sys::replace_keeping(from, path, keep_as)) {
    raise_system_error(sys::last_code(path), detail::kKeepRefused, where);
  }
}

void flush_changes(const std::vector<std::string>& folders, std::source_location where) {
  if (folders.empty() || sys::flush_folders(folders)) return;
  raise_system_error(sys::last_code(folders.front()), detail::kCopyRefused, where);
}

void write_small_file(std::string_view path, std::string_view content,
                      std::source_location where) {
  check_length(path, err::kBadFileName, detail::kOpenTooLong, where);
  check_system(sys::replace_file(path, content), detail::kWriteRefused, where);
}

}  // namespace tav
