#include "volume_state/state_folder.h"

#include <cstdio>

#include "platform/local_time.h"
#include "platform/text.h"
#include "volume_state/byte_codec.h"

namespace tav::state {

namespace {

constexpr std::string_view kRecordsFolder = "records";
constexpr std::string_view kKeptFolder = "kept";
constexpr std::size_t kStampLength = 15;  // "YYYYMMDD-HHMMSS"
constexpr std::size_t kIdLength = 16;

char lower_ascii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool is_hex(std::string_view text) {
  return text.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

}  // namespace

bool is_state_folder_name(std::string_view name) {
  if (name.size() != kStateFolderName.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (lower_ascii(name[i]) != kStateFolderName[i]) return false;
  }
  return true;
}

PairKey pair_key(std::string_view machine_id, std::string_view folder_path) {
  std::string text = std::string(machine_id) + "\n" + std::string(folder_path);
  std::string id = hash_text(text);
  return {std::move(text), std::move(id)};
}

std::string state_folder(std::string_view root) {
  return std::string(root) + std::string(kStateFolderName);
}

std::string record_path(std::string_view drive_root, const PairKey& pair) {
  return state_folder(drive_root) + kPathSeparator + std::string(kRecordsFolder) +
         kPathSeparator + pair.id;
}

std::string kept_folder(std::string_view root) {
  return state_folder(root) + kPathSeparator + std::string(kKeptFolder);
}

std::string run_name(std::time_t when, const PairKey& pair, bool undo) {
  const LocalStamp at = local_stamp(when);
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d-", at.year, at.month, at.day,
                at.hour, at.minute, at.second);
  return stamp + pair.id + (undo ? "-undo" : "");
}

std::string pair_of_run(std::string_view run_name) {
  if (run_name.size() < kStampLength + 1 + kIdLength || run_name[8] != '-' ||
      run_name[kStampLength] != '-') {
    return {};
  }
  const std::string_view id = run_name.substr(kStampLength + 1, kIdLength);
  return is_hex(id) ? std::string(id) : std::string();
}

}  // namespace tav::state
