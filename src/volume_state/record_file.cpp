#include "volume_state/record_file.h"

#include "files/operations.h"
#include "platform/system_files.h"
#include "platform/text.h"

namespace tav::state {

std::optional<std::string> record_bytes(std::string_view drive_root, const PairKey& pair) {
  std::string bytes;
  if (sys::read_file(record_path(drive_root, pair), bytes) != 0) return std::nullopt;
  return bytes;
}

std::optional<RunRecord> read_record(std::string_view drive_root, const PairKey& pair) {
  const auto bytes = record_bytes(drive_root, pair);
  if (!bytes) return std::nullopt;
  auto record = decode_record(*bytes);
  if (!record || record->key() != pair.text) return std::nullopt;
  return record;
}

void make_state_folders(std::string_view root, std::string_view rel, std::source_location where) {
  std::string folder = state_folder(root);
  const auto make = [&](const std::string& path) {
    if (!folder_exists(path, where)) make_folder(path, where);
  };
  if (!folder_exists(folder, where)) {
    make_folder(folder, where);
    // Out of the user's sight in the system's file views; a folder that
    // stays visible costs nothing else.
    sys::hide(folder);
  }
  std::size_t start = 0;
  while (start < rel.size()) {
    const auto cut = rel.find(kPathSeparator, start);
    const auto end = cut == std::string_view::npos ? rel.size() : cut;
    folder += kPathSeparator;
    folder.append(rel.substr(start, end - start));
    make(folder);
    start = end + 1;
  }
}

}  // namespace tav::state
