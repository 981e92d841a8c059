// The system side of the file operations, one implementation per platform.
// Each call answers a Windows system error code (0 for success); platforms
// other than Windows translate their own codes to these, so that one table
// turns them into run-time error numbers everywhere.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/files.h"
#include "platform/local_time.h"
#include "platform/system_codes.h"

namespace tav::sys {

// Whether "*" and "?" are ordinary characters of names on this platform.
extern const bool kNamesMayHoldWildcards;

// Fills the entry's texts from what the system reports; shared by the
// platforms so that every listing reads the same.
struct EntryFacts {
  bool folder = false;
  bool read_only = false;
  bool archive = false;
  std::uint64_t size = 0;
  LocalStamp written{};  // last write, local time
};
void fill_entry_texts(FolderEntry& entry, const EntryFacts& facts);

class Search {
 public:
  virtual ~Search() = default;
  virtual bool next(FolderEntry& entry) = 0;
};

std::unique_ptr<Search> start_search(std::string_view pattern);

Code create_folder(std::string_view path);
Code remove_folder(std::string_view path);

// A name the system reserves for a device (such as CON or LPT1 on Windows).
bool is_device_name(std::string_view path);
// An existing file (not a folder) that can be opened for deletion.
bool is_deletable_file(std::string_view path);
Code delete_file(std::string_view path);

Code copy_file(std::string_view source, std::string_view destination,
               const CopyProgress& progress);

Code read_file(std::string_view path, std::string& content);
Code replace_file(std::string_view path, std::string_view content);

}  // namespace tav::sys
