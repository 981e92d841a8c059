#include "volume_state/state_layout.h"

#include <cstdio>

#include "platform/local_time.h"
#include "platform/text.h"
#include "volume_state/byte_codec.h"

namespace tav::state {

namespace {

constexpr std::string_view kRecordsFolder = "records";
constexpr std::string_view kKeptFolder = "kept";
constexpr std::string_view kJournalName = "journal";
constexpr std::string_view kKeptRecordName = "record";
constexpr std::string_view kUndoSuffix = "-undo";
constexpr std::size_t kStampLength = 15;  // "YYYYMMDD-HHMMSS"
constexpr std::size_t kIdLength = 16;

char lower_ascii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool all_of(std::string_view text, std::string_view allowed) {
  return !text.empty() && text.find_first_not_of(allowed) == std::string_view::npos;
}

std::string joined(std::string_view a, std::string_view b) {
  std::string path(a);
  path += kPathSeparator;
  path += b;
  return path;
}

}  // namespace

bool is_state_folder_name(std::string_view name) {
  if (name.size() != kStateFolderName.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (lower_ascii(name[i]) != kStateFolderName[i]) return false;
  }
  return true;
}

namespace layout {

std::string state_folder() { return std::string(kStateFolderName); }
std::string records_folder() { return joined(kStateFolderName, kRecordsFolder); }
std::string record(std::string_view pair_id) { return joined(records_folder(), pair_id); }
std::string kept_folder() { return joined(kStateFolderName, kKeptFolder); }
std::string run_folder(std::string_view run_name) { return joined(kept_folder(), run_name); }
std::string own_folder(std::string_view run_name) {
  return joined(run_folder(run_name), kStateFolderName);
}
std::string journal(std::string_view run_name) { return joined(own_folder(run_name), kJournalName); }
std::string kept_record(std::string_view run_name) {
  return joined(own_folder(run_name), kKeptRecordName);
}
std::string journal_beside(std::string_view run_name) {
  return joined(run_folder(run_name), kJournalName);
}
std::string kept_record_beside(std::string_view run_name) {
  return joined(run_folder(run_name), kKeptRecordName);
}
std::string kept(std::string_view run_name, std::string_view rel) {
  return joined(run_folder(run_name), rel);
}
bool is_own_name(std::string_view name) {
  return name == kStateFolderName || name == kJournalName || name == kKeptRecordName;
}

}  // namespace layout

PairKey pair_key(std::string_view machine_key, std::string_view folder_path,
                 std::string_view earlier) {
  PairKey key;
  key.text = std::string(machine_key) + "\n" + std::string(folder_path);
  key.id = hash_text(key.text);
  if (!earlier.empty()) {
    key.earlier_text = std::string(earlier) + "\n" + std::string(folder_path);
    key.earlier_id = hash_text(key.earlier_text);
  }
  return key;
}

bool is_pair_id(std::string_view name) {
  return name.size() == kIdLength && all_of(name, "0123456789abcdef");
}

std::string run_name(std::time_t when, std::string_view pair_id, bool undo, int number) {
  const LocalStamp at = local_stamp(when);
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d-", at.year, at.month, at.day,
                at.hour, at.minute, at.second);
  std::string name = stamp + std::string(pair_id);
  if (undo) name += kUndoSuffix;
  if (number > 1) name += "-" + std::to_string(number);
  return name;
}

std::optional<RunName> parse_run_name(std::string_view name) {
  if (name.size() < kStampLength + 1 + kIdLength) return std::nullopt;
  const std::string_view stamp = name.substr(0, kStampLength);
  if (!all_of(stamp.substr(0, 8), "0123456789") || stamp[8] != '-' ||
      !all_of(stamp.substr(9), "0123456789") || name[kStampLength] != '-') {
    return std::nullopt;
  }
  RunName run{std::string(name.substr(kStampLength + 1, kIdLength)), false};
  if (!is_pair_id(run.pair_id)) return std::nullopt;
  std::string_view rest = name.substr(kStampLength + 1 + kIdLength);
  if (rest.starts_with(kUndoSuffix)) {
    run.undo = true;
    rest.remove_prefix(kUndoSuffix.size());
  }
  if (!rest.empty() && !(rest[0] == '-' && all_of(rest.substr(1), "0123456789"))) {
    return std::nullopt;
  }
  return run;
}

}  // namespace tav::state
