// What a destination's file system can hold: the names it refuses, the
// largest file it stores, and whether two names that differ only in case
// are one name there.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tav {

// Why the destination cannot take an entry.
enum class Refusal {
  Characters,    // a character it cannot store, or a name ending in a dot or a blank
  ReservedName,  // a device name such as CON or LPT1
  LongName,      // longer than its names may be
  BigFile,       // 4 GiB or more onto FAT
  CaseTwin,      // one name with another entry it takes (its case, or its Unicode form)
};

struct DestinationRules {
  bool windows_names = false;  // Windows' rules of names, UTF-16 names
  bool small_files = false;    // files below 4 GiB only
  bool ignores_case = false;
};

// The rules of a file system, named as the system names it ("FAT32", "vfat",
// "exFAT", "ext4", ...), on a system that may refuse Windows' names
// everywhere. ignores_case_seen: the volume was seen to ignore case.
DestinationRules rules_for(std::string_view file_system, bool windows_names_everywhere,
                           bool ignores_case_seen);

// Why the destination cannot take a file or folder of this name, if it can't.
std::optional<Refusal> name_refusal(std::string_view name, const DestinationRules& rules);

// Why the destination cannot take a file of this size, if it can't.
std::optional<Refusal> size_refusal(std::uint64_t size, const DestinationRules& rules);

}  // namespace tav
