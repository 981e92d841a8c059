// The record of a pair's last completed run, kept on the drive: every file
// and folder of the first-level folders that took part, with the version
// each side held after the run. A run replaces or deletes a destination
// file only when it is exactly as the record says the last run left it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/folder_reading.h"

namespace tav::state {

struct RecordedEntry {
  std::string path;  // relative to both roots, "/" between names
  bool folder = false;
  // What each side holds there; none where it holds nothing (a folder's
  // version is all zero).
  std::optional<FileVersion> folder_side;
  std::optional<FileVersion> drive_side;
  bool operator==(const RecordedEntry&) const = default;
};

class RunRecord {
 public:
  RunRecord() = default;
  // The entries in any order; ignores_case when either side looks names up
  // without regard to case.
  RunRecord(std::string key, bool ignores_case, std::vector<RecordedEntry> entries);

  const std::string& key() const { return key_; }
  bool ignores_case() const { return ignores_case_; }
  // In the byte order of their paths.
  const std::vector<RecordedEntry>& entries() const { return entries_; }

  // The entry at a relative path (either separator), its names compared as
  // the pair's volumes compare them; none when the record has no such entry.
  // Not for two threads at once: the first look-up that needs names compared
  // without case builds their index.
  const RecordedEntry* find(std::string_view path) const;

 private:
  const RecordedEntry* find_without_case(const std::string& path) const;

  std::string key_;
  bool ignores_case_ = false;
  std::vector<RecordedEntry> entries_;
  // The entries by their names in upper case, made on the first look-up
  // that the names as written do not answer: a pair's volumes name almost
  // every entry as the record does, and a record is read at every run.
  mutable std::unordered_map<std::string, std::size_t> folded_;
};

// The file's bytes: versioned, compact (paths share their prefix with the
// path before, times are differences) and closed by a checksum.
std::string encode_record(const RunRecord& record);
// None for bytes that are not a whole record of this version.
std::optional<RunRecord> decode_record(std::string_view bytes);

}  // namespace tav::state
