// The settings file "Tavrelon.GYD" (where each platform keeps it:
// platform/settings_location.h): the folder and the drive entry of the last
// completed run, one line of two quoted fields in code page 932, ended by
// CR LF.
#pragma once

#include <source_location>
#include <string>
#include <string_view>

namespace tav {

inline constexpr std::string_view kSettingsFileName = "Tavrelon.GYD";

struct Settings {
  std::string folder_path;
  std::string drive_entry;
  bool operator==(const Settings&) const = default;
};

// The file's bytes for these settings.
std::string encode_settings(const Settings& settings);

// The two fields of the file's bytes. A field that ends before it is read is
// empty; a character after the closing quote of a field other than a space,
// a comma or the line end raises a run-time error.
Settings decode_settings(std::string_view bytes,
                         std::source_location where = std::source_location::current());

// Both fields empty when the file does not exist.
Settings read_settings(std::source_location where = std::source_location::current());

// Written whole or not at all.
void write_settings(const Settings& settings,
                    std::source_location where = std::source_location::current());

}  // namespace tav
