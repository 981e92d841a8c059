// Real folder trees for the tests, made in a fresh temporary folder and
// removed afterwards. Paths are UTF-8; relative paths use "/" and are turned
// into the platform's separator.
#pragma once

#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tav::test {

struct LocalTime {
  int year, month, day, hour, minute, second;
};

// The native path of a UTF-8 text (never through the ANSI code page).
std::filesystem::path native(std::string_view utf8);

// A relative path written with "/", with the platform's separator.
std::string native_rel(std::string_view rel);

// Platform helpers for what the standard library cannot do portably.
void set_local_write_time(const std::string& path, LocalTime when);
void set_read_only(const std::string& path, bool read_only);
bool is_read_only(const std::string& path);
bool is_hidden(const std::string& path);
// Makes link a symbolic link to the folder target; false if the system refuses.
bool make_folder_link(const std::string& target, const std::string& link);

class TempTree {
 public:
  TempTree();
  // A tree under an existing folder of the caller's choice.
  explicit TempTree(std::string_view parent);
  // The existing folder itself (such as a drive root), emptied now and again
  // at the end; root is given without its trailing separator.
  struct Adopt {};
  TempTree(Adopt, std::string root);
  ~TempTree();
  TempTree(const TempTree&) = delete;
  TempTree& operator=(const TempTree&) = delete;

  // The tree's root, without a trailing separator.
  const std::string& root() const { return root_; }
  // The root followed by the separator.
  std::string root_with_separator() const;
  // root, separator, rel.
  std::string path(std::string_view rel) const;

  TempTree& folder(std::string_view rel);
  TempTree& file(std::string_view rel, std::string_view content = "");
  TempTree& file(std::string_view rel, std::string_view content, LocalTime written);

  std::string read(std::string_view rel) const;
  bool exists(std::string_view rel) const;

  // Everything in the tree but the state the program keeps at its root
  // (".tavrelon"): each folder's relative path with "/" after it (and no
  // content), each file's relative path with its bytes; paths use "/" on
  // every system.
  using Content = std::map<std::string, std::string>;
  Content content() const;
  // The same of any folder (given with its separator).
  static Content content_of(const std::string& folder);

  // Removes everything in the tree; the root stays.
  void remove_contents() const;

 private:
  std::string root_;
  bool adopted_ = false;
};

// The root of a small file system that a test may fill (with the separator
// at its end), when the test run provides one.
std::optional<std::string> small_file_system_root();

// The small file system held by one test at a time, for tests that count on
// its free space: tests run in parallel.
class HeldSmallFileSystem {
 public:
  HeldSmallFileSystem();
  // As small_file_system_root().
  const std::optional<std::string>& root() const { return root_; }

 private:
  std::optional<std::string> root_;
  std::shared_ptr<void> hold_;
};

// The root of a real volume of that kind ("fat32" or "exfat") that a test
// may write on, when the test run mounted one (only where it can: as root on
// Linux), or under Wine the drive the test runner has Wine report as FAT32.
std::optional<std::string> test_volume_root(std::string_view kind);

// Makes a folder unreadable and unwritable for its owner (false where the
// system has no such permission), or gives the permissions back.
bool lock_folder(const std::string& path, bool locked);

}  // namespace tav::test
