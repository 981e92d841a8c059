#include "volume_state/record_file.h"

#include <algorithm>
#include <ctime>

#include "errors/runtime_error.h"
#include "files/operations.h"
#include "platform/folder_reading.h"
#include "platform/machine_identity.h"
#include "platform/system_files.h"
#include "volume_state/state_access.h"
#include "volume_state/state_layout.h"

namespace tav::state {

namespace {

// A record takes about 15 bytes a file and the names that differ from the
// path before; this much a file the scan found, and never less than the
// floor, is more than any record of those trees takes.
constexpr std::size_t kRecordFloor = std::size_t{2} << 20;
constexpr std::size_t kRecordBytesPerEntry = 128;

std::size_t record_limit(std::size_t entries_seen) {
  const std::size_t most = SIZE_MAX / kRecordBytesPerEntry / 2;
  return kRecordFloor + std::min(entries_seen, most) * kRecordBytesPerEntry;
}

// Something other than a file at the record's place (a folder, a link) is
// moved aside in its folder, never removed and never written through; the
// records folder itself was reached as a real folder.
void clear_the_place(const std::string& root, const std::string& rel) {
  const Reached there = reach(root, rel);
  if (there == Reached::File || there == Reached::Missing) return;
  move_aside(at(root, rel), at(root, rel) + ".aside-" + std::to_string(std::time(nullptr)));
}

}  // namespace

PairKey pair_of(const Roots& roots) {
  return pair_key(app_machine_id(), roots.folder_path, machine_id());
}

std::string record_place(const Roots& roots, const PairKey& pair) {
  const std::string own = layout::record(pair.id);
  if (pair.earlier_id.empty() || reach(roots.drive_root, own) != Reached::Missing) return own;
  const std::string earlier = layout::record(pair.earlier_id);
  return reach(roots.drive_root, earlier) == Reached::Missing ? own : earlier;
}

RecordReading read_record(const Roots& roots, const PairKey& pair, std::size_t entries_seen) {
  std::string bytes;
  switch (read_state_file(roots.drive_root, record_place(roots, pair), record_limit(entries_seen),
                          bytes)) {
    case StateFile::Missing:
      return {};
    case StateFile::Damaged:
      return {std::nullopt, true};
    case StateFile::Read:
      break;
  }
  auto record = decode_record(bytes);
  if (!record || (record->key() != pair.text && record->key() != pair.earlier_text)) {
    return {std::nullopt, true};
  }
  return {std::move(record), false};
}

std::vector<RunRecord> read_other_records(const Roots& roots, const PairKey& pair,
                                          std::size_t entries_seen) {
  std::vector<RunRecord> records;
  const std::string& root = roots.drive_root;
  if (reach(root, layout::records_folder()) != Reached::Folder) return records;
  std::vector<ListedEntry> entries;
  read_folder(at(root, layout::records_folder()), entries);
  std::ranges::sort(entries, {}, &ListedEntry::name);
  for (const ListedEntry& entry : entries) {
    if (records.size() >= kMostOtherRecords) break;
    if (entry.folder || pair.owns(entry.name) || !is_pair_id(entry.name)) continue;
    std::string bytes;
    if (read_state_file(root, layout::record(entry.name), record_limit(entries_seen), bytes) !=
        StateFile::Read) {
      continue;
    }
    auto record = decode_record(bytes);
    if (record && record->key().find('\n') != std::string::npos) records.push_back(std::move(*record));
  }
  return records;
}

void write_record(const Roots& roots, const PairKey& pair, const RunRecord& record,
                  std::source_location where) {
  const std::string bytes = encode_record(record);
  const std::string& root = roots.drive_root;
  const std::string rel = layout::record(pair.id);
  std::string there;
  if (read_state_file(root, rel, bytes.size(), there) == StateFile::Read && there == bytes) return;
  make_folders(root, layout::records_folder(), where);
  try {
    clear_the_place(root, rel);
    write_small_file(at(root, rel), bytes, where);
  } catch (const RuntimeError&) {
    if (reach(root, rel) == Reached::File) sys::delete_file(at(root, rel));
    throw;
  }
  // The record an older program wrote for the pair named this machine; the
  // pair's own record holds all it said now.
  const std::string earlier = layout::record(pair.earlier_id);
  if (!pair.earlier_id.empty() && reach(root, earlier) == Reached::File) {
    sys::delete_file(at(root, earlier));
  }
}

}  // namespace tav::state
