// The four work tables the scan fills: files to create or update, folders to
// create, files to delete and folders to delete. Slots are numbered from 1 in
// the order the scan appended them; a withdrawn entry is a slot whose path is
// empty. Slots never move and counts never shrink.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <source_location>
#include <string>
#include <vector>

#include "platform/folder_reading.h"
#include "errors/runtime_error.h"

namespace tav {

struct CopyEntry {
  std::string path;        // relative to both roots
  std::string left_date;   // the folder side's date text, empty if absent there
  std::string right_date;  // the drive side's date text, empty if absent there
  // The versions the scan saw on the folder side and on the drive side;
  // none where the file was absent.
  std::optional<FileVersion> left_seen;
  std::optional<FileVersion> right_seen;
};

struct FileDeletion {
  std::string path;  // the file to delete
  FileVersion seen;
};

inline constexpr std::size_t kMaxCopies = 99999;
inline constexpr std::size_t kMaxNewFolders = 9999;
inline constexpr std::size_t kMaxDeletedFiles = 99999;
inline constexpr std::size_t kMaxDeletedFolders = 9999;

// One table: slot n is element n - 1.
template <typename Entry>
class WorkTable {
 public:
  explicit WorkTable(std::size_t capacity) : capacity_(capacity) {}

  // Appends an entry; a full table raises run-time error 9.
  void append(Entry entry, std::source_location where = std::source_location::current());

  std::size_t count() const { return entries_.size(); }
  bool has_slot(std::size_t slot) const { return slot >= 1 && slot <= entries_.size(); }
  Entry& operator[](std::size_t slot) { return entries_[slot - 1]; }
  const Entry& operator[](std::size_t slot) const { return entries_[slot - 1]; }

 private:
  std::size_t capacity_;
  std::vector<Entry> entries_;
};

struct WorkTables {
  WorkTable<CopyEntry> copies{kMaxCopies};
  WorkTable<std::string> new_folders{kMaxNewFolders};
  WorkTable<FileDeletion> deleted_files{kMaxDeletedFiles};
  WorkTable<std::string> deleted_folders{kMaxDeletedFolders};

  // Everything the scan found, withdrawn entries included.
  std::size_t total() const {
    return copies.count() + new_folders.count() + deleted_files.count() +
           deleted_folders.count();
  }
  std::size_t deletions() const { return deleted_files.count() + deleted_folders.count(); }
};

template <typename Entry>
void WorkTable<Entry>::append(Entry entry, std::source_location where) {
  if (entries_.size() >= capacity_) raise_out_of_range(where);
  entries_.push_back(std::move(entry));
}

}  // namespace tav
