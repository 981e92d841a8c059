#include "volume_state/journal.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "files/operations.h"
#include "files/spelling_rename.h"
#include "platform/name_fold.h"
#include "volume_state/state_layout.h"

namespace tav::state {

namespace {

constexpr std::string_view kHead = "TAVRELON JOURNAL 1";
constexpr std::string_view kToDrive = "to-drive";
constexpr std::string_view kToFolder = "to-folder";
constexpr std::string_view kUndoOf = "undo-of";
constexpr std::string_view kUndone = "undone";
constexpr std::string_view kRecordKept = "record-kept";
constexpr std::string_view kBegan = "began";
// Times within some ten thousand years of 1970: no arithmetic on them can
// overflow.
constexpr std::int64_t kLatestSeconds = std::int64_t{1} << 38;

struct ActionName {
  Action action;
  std::string_view name;
};
constexpr std::array<ActionName, 10> kActionNames{{
    {Action::FolderMade, "folder-made"},
    {Action::FilePlaced, "file-placed"},
    {Action::FileReplaced, "file-replaced"},
    {Action::FileOverwritten, "file-overwritten"},
    {Action::FileKept, "file-kept"},
    {Action::FolderRemoved, "folder-removed"},
    {Action::FileLeft, "file-left"},
    {Action::FileWriting, "file-writing"},
    {Action::Renamed, "renamed"},
    {Action::Moved, "moved"},
}};

bool carries_version(Action action) {
  return action == Action::FilePlaced || action == Action::FileReplaced ||
         action == Action::FileOverwritten;
}

// Control characters and "%" of a name as "%XX": a field never holds a tab
// or a line end.
std::string escaped(std::string_view field) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char c : field) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || c == '%') {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 0xF];
    } else {
      out += c;
    }
  }
  return out;
}

std::optional<std::string> unescaped(std::string_view field) {
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '%') {
      out += field[i];
      continue;
    }
    unsigned value = 0;
    if (i + 2 >= field.size()) return std::nullopt;
    const auto [end, error] = std::from_chars(field.data() + i + 1, field.data() + i + 3, value, 16);
    if (error != std::errc() || end != field.data() + i + 3) return std::nullopt;
    out += static_cast<char>(value);
    i += 2;
  }
  return out;
}

// A line has at most this many fields (a head with both named fields);
// one with more is no line of a journal, and is not split further.
constexpr std::size_t kMostFields = 7;

std::vector<std::string_view> fields_of(std::string_view line) {
  std::vector<std::string_view> fields;
  for (std::size_t start = 0;;) {
    const auto tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
    if (tab == std::string_view::npos) return fields;
    if (fields.size() == kMostFields) return {};
    start = tab + 1;
  }
}

template <typename Number>
std::optional<Number> number_of(std::string_view text) {
  Number value{};
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

bool in_range(std::int64_t seconds) { return seconds >= -kLatestSeconds && seconds <= kLatestSeconds; }

// The fields of an entry's line, its action's name included.
std::size_t fields_for(Action action) {
  if (carries_version(action)) return 6;
  if (action == Action::Renamed) return 4;
  if (action == Action::Moved) return 3;
  return 2;
}

std::optional<StatePath> path_of(std::string_view field) {
  const auto text = unescaped(field);
  return text ? StatePath::parse(*text) : std::nullopt;
}

// A renamed entry's two spellings are two spellings of one name in one
// folder: an undo never takes a journal's word for another rename.
std::optional<JournalEntry> renamed_entry(JournalEntry entry,
                                          const std::vector<std::string_view>& fields) {
  entry.from = path_of(fields[2]);
  const auto temporary = unescaped(fields[3]);
  if (!entry.from || *entry.from == entry.path || parent_of(*entry.from) != parent_of(entry.path) ||
      fold_name(last_name(*entry.from), true) != fold_name(last_name(entry.path), true) ||
      !temporary || !is_spelling_temporary_field(*temporary)) {
    return std::nullopt;
  }
  entry.temporary = *temporary;
  return entry;
}

bool lies_below(const StatePath& path, const StatePath& folder) {
  return path.text().starts_with(folder.text() + "/");
}

// A moved entry's two paths are two places: never one, and never one
// inside the other (no folder moves into itself), so that an undo never
// takes a journal's word for a move no run could make.
std::optional<JournalEntry> moved_entry(JournalEntry entry,
                                        const std::vector<std::string_view>& fields) {
  entry.from = path_of(fields[2]);
  if (!entry.from || *entry.from == entry.path || lies_below(entry.path, *entry.from) ||
      lies_below(*entry.from, entry.path)) {
    return std::nullopt;
  }
  return entry;
}

std::optional<JournalEntry> entry_of(const std::vector<std::string_view>& fields) {
  if (fields.empty()) return std::nullopt;
  const auto* named = std::ranges::find(kActionNames, fields[0], &ActionName::name);
  if (named == kActionNames.end()) return std::nullopt;
  if (fields.size() != fields_for(named->action)) return std::nullopt;
  const auto path = path_of(fields[1]);
  if (!path) return std::nullopt;
  JournalEntry entry{named->action, *path, {}, {}};
  if (entry.action == Action::Renamed) return renamed_entry(std::move(entry), fields);
  if (entry.action == Action::Moved) return moved_entry(std::move(entry), fields);
  if (!carries_version(entry.action)) return entry;
  const auto size = number_of<std::uint64_t>(fields[2]);
  const auto seconds = number_of<std::int64_t>(fields[3]);
  const auto nanoseconds = number_of<std::uint32_t>(fields[4]);
  const auto temporary = unescaped(fields[5]);
  if (!size || !seconds || !in_range(*seconds) || !nanoseconds || *nanoseconds >= 1000000000 ||
      !temporary || !(temporary->empty() || is_temporary_field(*temporary))) {
    return std::nullopt;
  }
  entry.version = {{*seconds, *nanoseconds}, *size};
  entry.temporary = *temporary;
  return entry;
}

}  // namespace

bool is_temporary_field(std::string_view name) {
  return !name.empty() && name.find_first_of("/\\:") == std::string_view::npos &&
         StatePath::parse(name) && is_temporary_name(name);
}

bool is_spelling_temporary_field(std::string_view name) {
  return !name.empty() && name.find_first_of("/\\:") == std::string_view::npos &&
         StatePath::parse(name) && is_spelling_temporary_name(name);
}

std::string head_line(const Journal& journal) {
  std::string line = std::string(kHead) + "\t" + journal.pair_id + "\t" +
                     std::string(journal.to_drive ? kToDrive : kToFolder);
  if (!journal.undo_of.empty()) line += "\t" + std::string(kUndoOf) + "\t" + escaped(journal.undo_of);
  if (journal.began != 0) line += "\t" + std::string(kBegan) + "\t" + std::to_string(journal.began);
  return line + "\n";
}

std::string record_kept_line() { return std::string(kRecordKept) + "\n"; }

std::string entry_line(const JournalEntry& entry) {
  std::string line(std::ranges::find(kActionNames, entry.action, &ActionName::action)->name);
  line += "\t" + escaped(entry.path.text());
  if (entry.from) line += "\t" + escaped(entry.from->text());
  if (entry.action == Action::Renamed) line += "\t" + escaped(entry.temporary);
  if (carries_version(entry.action)) {
    line += "\t" + std::to_string(entry.version.size) + "\t" +
            std::to_string(entry.version.written.seconds) + "\t" +
            std::to_string(entry.version.written.nanoseconds) + "\t" + escaped(entry.temporary);
  }
  return line + "\n";
}

std::string undone_line() { return std::string(kUndone) + "\n"; }

std::optional<Journal> parse_journal(std::string_view text) {
  // Line by line as they are met; a last line without its end was cut off
  // while it was written.
  std::size_t start = 0;
  const auto next_line = [&]() -> std::optional<std::string_view> {
    const auto end = text.find('\n', start);
    if (end == std::string_view::npos) return std::nullopt;
    const std::string_view line = text.substr(start, end - start);
    start = end + 1;
    return line;
  };
  const auto first = next_line();
  if (!first) return std::nullopt;
  const auto head = fields_of(*first);
  if (head.size() < 3 || head[0] != kHead || (head[2] != kToDrive && head[2] != kToFolder)) {
    return std::nullopt;
  }
  Journal journal;
  journal.pair_id = std::string(head[1]);
  journal.to_drive = head[2] == kToDrive;
  if (!is_pair_id(journal.pair_id)) return std::nullopt;
  // Then named fields, each at most once: the run undone, when it began.
  for (std::size_t i = 3; i < head.size(); i += 2) {
    if (i + 1 >= head.size()) return std::nullopt;
    if (head[i] == kUndoOf && journal.undo_of.empty()) {
      const auto undid = unescaped(head[i + 1]);
      if (!undid || undid->empty() || !parse_run_name(*undid)) return std::nullopt;
      journal.undo_of = *undid;
    } else if (head[i] == kBegan && journal.began == 0) {
      const auto began = number_of<std::int64_t>(head[i + 1]);
      if (!began || !in_range(*began) || *began == 0) return std::nullopt;
      journal.began = *began;
    } else {
      return std::nullopt;
    }
  }
  while (const auto line = next_line()) {
    if (*line == kUndone) {
      journal.undone = true;
    } else if (*line == kRecordKept) {
      journal.record_kept = true;
    } else if (const auto entry = entry_of(fields_of(*line))) {
      journal.entries.push_back(*entry);
    } else {
      return std::nullopt;
    }
  }
  return journal;
}

}  // namespace tav::state
