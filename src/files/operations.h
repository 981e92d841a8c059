// File and folder operations. Each either succeeds or raises a run-time
// error carrying the place of the calling statement. Paths are UTF-8, absolute
// or relative to the current folder, with the platform's separator.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <source_location>
#include <string>
#include <string_view>
#include <vector>


namespace tav {

// The longest path the operations accept, counted in code page 932 bytes.
inline constexpr std::size_t kMaxPathBytes = 260;

// One entry of a folder listing, as the texts the scan compares.
struct FolderEntry {
  std::string name;        // the name alone, no folder
  std::string size;        // decimal byte count; "0" for a folder
  std::string date;        // last write, local time: "YYYY/MM/DD"
  std::string time;        // last write, local time: "HH:MM:SS"
  std::string attributes;  // "D" or "-", "R" or "-", "A" or "-"
  bool is_link = false;    // a symbolic link or junction

  bool is_folder() const { return !attributes.empty() && attributes[0] == 'D'; }
};

namespace sys {
class Search;
}

// The entries a search pattern matches, in the order the system yields them:
// a folder path followed by the separator and "*" or "*.*" lists the folder
// ("." and ".." included where the system yields them); an exact path yields
// that entry alone. A pattern that matches nothing, or a folder that cannot
// be read, simply yields no entry.
class FolderListing {
 public:
  // A pattern longer than kMaxPathBytes raises error 5.
  explicit FolderListing(std::string_view pattern,
                         std::source_location where = std::source_location::current());
  ~FolderListing();
  FolderListing(const FolderListing&) = delete;
  FolderListing& operator=(const FolderListing&) = delete;

  // The next entry, or false at the end.
  bool next(FolderEntry& entry);

 private:
  std::unique_ptr<sys::Search> search_;
};

// The entry at exactly this path, if there is one.
std::optional<FolderEntry> look_up(std::string_view path,
                                   std::source_location where = std::source_location::current());

// True for an existing entry that is not a folder (file_exists) or is a folder
// (folder_exists). A path that ends in the separator, or names a drive root,
// answers false. Wildcards raise error 55.
bool file_exists(std::string_view path,
                 std::source_location where = std::source_location::current());
bool folder_exists(std::string_view path,
                   std::source_location where = std::source_location::current());

// Creates one folder; its parent must exist.
void make_folder(std::string_view path,
                 std::source_location where = std::source_location::current());

// Removes one empty folder.
void remove_folder(std::string_view path,
                   std::source_location where = std::source_location::current());

// The same, but a folder that is not empty is left as it is: false then.
bool remove_empty_folder(std::string_view path,
                         std::source_location where = std::source_location::current());

// Deletes one file.
void delete_file(std::string_view path,
                 std::source_location where = std::source_location::current());

// Whether a name is one of the temporary files copies are written to, on
// this system or the other ("~tavrelon-" or ".~tavrelon-", a process
// number, "-", a counter, ".tmp"): one left by a killed process may stand
// in a tree.
bool is_temporary_name(std::string_view name);

// The whole content of a small file (the settings file).
std::string read_small_file(std::string_view path,
                            std::source_location where = std::source_location::current());

// Replaces the content of a small file whole or not at all.
void write_small_file(std::string_view path, std::string_view content,
                      std::source_location where = std::source_location::current());

// Writes the changes made in these folders to their media, so that the
// user may pull the medium as soon as the program says it is done. A
// refusal raises the error a batch's flush raises.
void flush_changes(const std::vector<std::string>& folders,
                   std::source_location where = std::source_location::current());

}  // namespace tav
