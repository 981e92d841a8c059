#include "worklist/destination_rules.h"

#include <algorithm>
#include <span>
#include <string>

#include "platform/text.h"

namespace tav {

namespace {

struct FileSystemKind {
  std::string_view name;  // compared without regard to case
  DestinationRules rules;
};

// The file systems of removable drives that keep Windows' rules; every
// other one is taken for a Linux file system.
// clang-format off
constexpr FileSystemKind kWindowsFileSystems[] = {
  //                 windows_names  small_files  ignores_case
  {"FAT",            {true,         true,        true}},
  {"FAT12",          {true,         true,        true}},
  {"FAT16",          {true,         true,        true}},
  {"FAT32",          {true,         true,        true}},
  {"vfat",           {true,         true,        true}},
  {"msdos",          {true,         true,        true}},
  {"exFAT",          {true,         false,       true}},
  {"NTFS",           {true,         false,       false}},
  {"ntfs3",          {true,         false,       false}},
};
// clang-format on

constexpr std::string_view kForbiddenCharacters = "\\/:*?\"<>|";
constexpr std::string_view kDeviceNames[] = {"CON", "PRN", "AUX", "NUL"};
constexpr std::string_view kNumberedDeviceNames[] = {"COM", "LPT"};
constexpr std::size_t kMaxNameLength = 255;  // UTF-16 units, or bytes on Linux
constexpr std::uint64_t kSmallFileLimit = std::uint64_t{4} << 30;

bool same_ascii_text(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) {
    const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
    return upper(x) == upper(y);
  });
}

bool is_one_of(std::string_view name, std::span<const std::string_view> names) {
  return std::ranges::any_of(names,
                             [name](std::string_view n) { return same_ascii_text(name, n); });
}

// A device name, alone or before an extension: "con", "LPT1.txt", "aux .c".
bool is_device_name(std::string_view name) {
  std::string_view base = name.substr(0, name.find('.'));
  while (base.ends_with(' ')) base.remove_suffix(1);
  if (is_one_of(base, kDeviceNames)) return true;
  return base.size() == 4 && base[3] >= '1' && base[3] <= '9' &&
         is_one_of(base.substr(0, 3), kNumberedDeviceNames);
}

bool has_control_character(std::string_view name) {
  return std::ranges::any_of(name, [](char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
  });
}

bool has_forbidden_character(std::string_view name) {
  return std::ranges::any_of(name, [](char c) {
    return static_cast<unsigned char>(c) < 0x20 ||
           kForbiddenCharacters.find(c) != std::string_view::npos;
  });
}

std::optional<Refusal> windows_name_refusal(std::string_view name) {
  if (!is_valid_utf8(name) || has_forbidden_character(name) || name.ends_with('.') ||
      name.ends_with(' ')) {
    return Refusal::Characters;
  }
  if (is_device_name(name)) return Refusal::ReservedName;
  if (utf16_length(name) > kMaxNameLength) return Refusal::LongName;
  return std::nullopt;
}

}  // namespace

DestinationRules rules_for(std::string_view file_system, bool windows_names_everywhere,
                           bool ignores_case_seen) {
  DestinationRules rules;
  for (const auto& kind : kWindowsFileSystems) {
    if (same_ascii_text(file_system, kind.name)) rules = kind.rules;
  }
  rules.windows_names = rules.windows_names || windows_names_everywhere;
  rules.ignores_case = rules.ignores_case || ignores_case_seen;
  return rules;
}

std::optional<Refusal> name_refusal(std::string_view name, const DestinationRules& rules) {
  if (rules.windows_names) return windows_name_refusal(name);
  // A run's journal names every entry it touches, and names no control
  // character: such a name takes part in no run, on any file system.
  if (has_control_character(name)) return Refusal::Characters;
  if (name.size() > kMaxNameLength) return Refusal::LongName;
  return std::nullopt;
}

std::optional<Refusal> size_refusal(std::uint64_t size, const DestinationRules& rules) {
  if (rules.small_files && size >= kSmallFileLimit) return Refusal::BigFile;
  return std::nullopt;
}

}  // namespace tav
