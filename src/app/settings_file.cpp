#include "app/settings_file.h"

#include "errors/detail_words.h"
#include "errors/runtime_error.h"
#include "files/operations.h"
#include "platform/settings_location.h"
#include "platform/text.h"

namespace tav {

namespace {

// Reads the fields of one line the way the settings file is written: quoted
// texts separated by commas. Works on code page 932 bytes, where the second
// byte of a double-byte character is never a quote, comma or colon.
class FieldReader {
 public:
  FieldReader(std::string_view bytes, std::source_location where)
      : bytes_(bytes), where_(where) {}

  std::string next() {
    while (pos_ < bytes_.size() && bytes_[pos_] == ' ') ++pos_;
    if (at_line_end()) return {};
    return bytes_[pos_] == '"' ? quoted() : unquoted();
  }

 private:
  bool at_line_end() const {
    return pos_ >= bytes_.size() || bytes_[pos_] == '\r' || bytes_[pos_] == '\n';
  }

  std::string quoted() {
    const std::size_t start = ++pos_;
    const std::size_t close = bytes_.find('"', start);
    const std::size_t end = close == std::string_view::npos ? bytes_.size() : close;
    std::string field(bytes_.substr(start, end - start));
    pos_ = close == std::string_view::npos ? bytes_.size() : close + 1;
    while (pos_ < bytes_.size() && bytes_[pos_] == ' ') ++pos_;
    if (pos_ < bytes_.size() && bytes_[pos_] == ',') {
      ++pos_;
    } else if (!at_line_end()) {
      raise_error(err::kBadArgument, detail::kMalformedField, where_);
    }
    return field;
  }

  std::string unquoted() {
    const std::size_t start = pos_;
    while (!at_line_end() && bytes_[pos_] != ',' && bytes_[pos_] != ':') ++pos_;
    std::string field(bytes_.substr(start, pos_ - start));
    while (!field.empty() && field.back() == ' ') field.pop_back();
    if (!at_line_end()) ++pos_;
    return field;
  }

  std::string_view bytes_;
  std::source_location where_;
  std::size_t pos_ = 0;
};

}  // namespace

std::string encode_settings(const Settings& settings) {
  return "\"" + utf8_to_cp932(settings.folder_path) + "\",\"" +
         utf8_to_cp932(settings.drive_entry) + "\"\r\n";
}

Settings decode_settings(std::string_view bytes, std::source_location where) {
  FieldReader reader(bytes, where);
  Settings settings;
  settings.folder_path = cp932_to_utf8(reader.next());
  settings.drive_entry = cp932_to_utf8(reader.next());
  return settings;
}

Settings read_settings(std::source_location where) {
  const std::string path = settings_file_path(kSettingsFileName, SettingsAccess::kRead, where);
  if (!file_exists(path, where)) return {};
  return decode_settings(read_small_file(path, where), where);
}

void write_settings(const Settings& settings, std::source_location where) {
  const std::string path = settings_file_path(kSettingsFileName, SettingsAccess::kWrite, where);
  write_small_file(path, encode_settings(settings), where);
}

}  // namespace tav
