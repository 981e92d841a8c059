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

// What the record says of one path.
struct RecordedSides {
  bool folder = false;
  // What each side holds there; none where it holds nothing (a folder's
  // version is all zero).
  std::optional<FileVersion> folder_side;
  std::optional<FileVersion> drive_side;
  // A file's content hash (files/content_hash.h) as the run that copied it
  // wrote it and read it back; none where no run of the pair copied the
  // version recorded.
  std::optional<std::uint64_t> content;
  // A file's own number on each side's volume (ListedEntry::identity); 0
  // where the record keeps none for that side (RecordVolumes).
  std::uint64_t folder_identity = 0, drive_identity = 0;
  bool operator==(const RecordedSides&) const = default;
};

// The volume of each side whose files' identities the record keeps (its
// number, VolumeIdentity::volume); 0 for a side whose volume gives files no
// identity that lasts across a rename.
struct RecordVolumes {
  std::uint64_t folder = 0, drive = 0;
  bool operator==(const RecordVolumes&) const = default;
};

struct RecordedEntry {
  std::string path;  // relative to both roots, "/" between names
  RecordedSides sides;
  bool operator==(const RecordedEntry&) const = default;
};

class RunRecord {
 public:
  RunRecord() = default;
  // The entries in any order; ignores_case when either side looks names up
  // without regard to case. A side's identities are kept only where its
  // volume is given.
  RunRecord(std::string key, bool ignores_case, std::vector<RecordedEntry> entries,
            RecordVolumes volumes = {});

  const std::string& key() const { return key_; }
  bool ignores_case() const { return ignores_case_; }
  const RecordVolumes& volumes() const { return volumes_; }
  std::size_t size() const { return entries_.size(); }
  // In the byte order of their paths.
  std::vector<RecordedEntry> entries() const;

  // What the record says of a relative path (either separator), its names
  // compared as the pair's volumes compare them (in their composed Unicode
  // form, and without case where either ignores it); none when the record
  // has no such entry. Not for two threads at once: the first look-up that
  // the names as written do not answer builds the index of folded names.
  const RecordedSides* find(std::string_view path) const;

  // The folder path of the pair the record belongs to (its key's last line).
  std::string_view folder_path() const;

  // Every file's version on one side moved by so many seconds: the record
  // as a side whose clock moved reads it.
  void shift_side(bool folder_side, std::int64_t seconds);

 private:
  friend std::string encode_record(const RunRecord& record);
  friend std::optional<RunRecord> decode_record(std::string_view bytes);

  // A record is read at every run: its paths lie in one text, and an
  // entry names its own by where it starts and how long it is.
  struct Stored {
    std::uint32_t start = 0, size = 0;
    RecordedSides sides;
  };
  std::string_view path_of(const Stored& entry) const {
    return std::string_view(paths_).substr(entry.start, entry.size);
  }
  void add(std::string_view path, const RecordedSides& sides);
  bool in_order() const;
  const RecordedSides* find_folded(const std::string& path) const;

  std::string key_;
  bool ignores_case_ = false;
  RecordVolumes volumes_;
  std::string paths_;
  std::vector<Stored> entries_;
  // The entries by their folded names (fold_name), made on the first look-up
  // that the names as written do not answer: a pair's volumes name almost
  // every entry as the record does.
  mutable std::unordered_map<std::string, std::size_t> folded_;
};

// The file's bytes: versioned, compact (paths share their prefix with the
// path before, times are differences) and closed by a checksum.
std::string encode_record(const RunRecord& record);
// None for bytes that are not a whole record of this version, its paths in
// byte order, each once, as this program writes them.
std::optional<RunRecord> decode_record(std::string_view bytes);

}  // namespace tav::state
