#include "volume_state/run_record.h"

#include <algorithm>

#include "platform/name_fold.h"
#include "volume_state/byte_codec.h"
#include "volume_state/state_path.h"

namespace tav::state {

namespace {

constexpr std::string_view kMagic = "TAVRELON RUN RECORD\n";
// Version 2 adds the content hash, version 3 the files' identities and
// the volumes they belong to; an older record reads as one without them.
constexpr std::uint64_t kVersion = 3;
constexpr std::uint64_t kFirstWithIdentities = 3;
constexpr std::uint64_t kOldestVersion = 1;

// The kind byte of an entry.
constexpr std::uint64_t kFolder = 1;
constexpr std::uint64_t kOnFolderSide = 2;
constexpr std::uint64_t kOnDriveSide = 4;
constexpr std::uint64_t kDriveAsFolder = 8;  // both sides hold the same version
constexpr std::uint64_t kHashed = 16;        // the content hash follows, 8 bytes low first
constexpr std::uint64_t kFolderIdentity = 32;  // the folder side's identity follows
constexpr std::uint64_t kDriveIdentity = 64;   // the drive side's identity follows
constexpr std::uint64_t kKinds = 127;

// What a record read from a volume may hold: times within some ten thousand
// years of 1970, sizes a file system can give, and no more path text than a
// small multiple of its own bytes (paths share their prefix with the path
// before, so a few bytes may stand for a long path, but not without bound).
constexpr std::int64_t kLatestSeconds = std::int64_t{1} << 38;
constexpr std::uint64_t kLargestSize = std::uint64_t{1} << 62;
constexpr std::size_t kPathTextPerByte = 16;

void use_slashes(std::string& path) { std::ranges::replace(path, '\\', '/'); }

std::string with_slashes(std::string_view path) {
  std::string result(path);
  use_slashes(result);
  return result;
}

std::size_t shared_prefix(std::string_view a, std::string_view b) {
  const auto [end_a, end_b] = std::ranges::mismatch(a, b);
  return static_cast<std::size_t>(end_a - a.begin());
}

class Writer {
 public:
  void version(const FileVersion& version) {
    put_number(out, version.size);
    // A difference of two times a volume gave, without overflow: a time out
    // of the record's range reads back as a damaged record, never wrongly.
    put_signed(out, static_cast<std::int64_t>(static_cast<std::uint64_t>(version.written.seconds) -
                                              static_cast<std::uint64_t>(seconds_)));
    put_number(out, version.written.nanoseconds);
    seconds_ = version.written.seconds;
  }
  std::string out;

 private:
  std::int64_t seconds_ = 0;
};

class Reader {
 public:
  explicit Reader(std::string_view bytes) : in(bytes) {}
  std::optional<FileVersion> version() {
    const auto size = in.number();
    const auto delta = in.signed_number();
    const auto nanoseconds = in.number();
    if (!size || !delta || !nanoseconds || *nanoseconds >= 1000000000 || *size > kLargestSize ||
        *delta > 2 * kLatestSeconds || *delta < -2 * kLatestSeconds) {
      return std::nullopt;
    }
    seconds_ += *delta;
    if (seconds_ > kLatestSeconds || seconds_ < -kLatestSeconds) return std::nullopt;
    return FileVersion{{seconds_, static_cast<std::uint32_t>(*nanoseconds)}, *size};
  }
  ByteReader in;

 private:
  std::int64_t seconds_ = 0;
};

// An identity follows where the kind says so; only for a side whose volume
// the record names, and never 0.
bool read_identity(ByteReader& in, std::uint64_t kind, std::uint64_t bit, std::uint64_t volume,
                   std::uint64_t& identity) {
  if ((kind & bit) == 0) return true;
  const auto number = in.number();
  if (!number || *number == 0 || volume == 0) return false;
  identity = *number;
  return true;
}

}  // namespace

RunRecord::RunRecord(std::string key, bool ignores_case, std::vector<RecordedEntry> entries,
                     RecordVolumes volumes)
    : key_(std::move(key)), ignores_case_(ignores_case), volumes_(volumes) {
  for (RecordedEntry& entry : entries) {
    use_slashes(entry.path);
    if (volumes.folder == 0 || entry.sides.folder) entry.sides.folder_identity = 0;
    if (volumes.drive == 0 || entry.sides.folder) entry.sides.drive_identity = 0;
  }
  std::ranges::sort(entries, {}, &RecordedEntry::path);
  entries_.reserve(entries.size());
  for (const RecordedEntry& entry : entries) {
    add(entry.path, entry.sides);
  }
}

void RunRecord::add(std::string_view path, const RecordedSides& sides) {
  const auto start = static_cast<std::uint32_t>(paths_.size());
  paths_.append(path);
  entries_.push_back({start, static_cast<std::uint32_t>(path.size()), sides});
}

bool RunRecord::in_order() const {
  for (std::size_t i = 1; i < entries_.size(); ++i) {
    if (path_of(entries_[i - 1]) >= path_of(entries_[i])) return false;
  }
  return true;
}

std::vector<RecordedEntry> RunRecord::entries() const {
  std::vector<RecordedEntry> list;
  list.reserve(entries_.size());
  for (const Stored& entry : entries_) {
    list.push_back({std::string(path_of(entry)), entry.sides});
  }
  return list;
}

const RecordedSides* RunRecord::find(std::string_view path) const {
  const std::string key = with_slashes(path);
  const auto found = std::ranges::lower_bound(
      entries_, std::string_view(key), {}, [&](const Stored& entry) { return path_of(entry); });
  if (found != entries_.end() && path_of(*found) == key) return &found->sides;
  return find_folded(key);
}

std::string_view RunRecord::folder_path() const {
  const auto cut = key_.rfind('\n');
  return cut == std::string::npos ? std::string_view(key_) : std::string_view(key_).substr(cut + 1);
}

void RunRecord::shift_side(bool folder_side, std::int64_t seconds) {
  for (Stored& entry : entries_) {
    auto& version = folder_side ? entry.sides.folder_side : entry.sides.drive_side;
    if (version && !entry.sides.folder) version->written.seconds += seconds;
  }
}

const RecordedSides* RunRecord::find_folded(const std::string& path) const {
  if (folded_.empty()) {
    folded_.reserve(entries_.size());
    for (std::size_t i = 0; i < entries_.size(); ++i) {
      folded_.emplace(fold_name(path_of(entries_[i]), ignores_case_), i);
    }
  }
  const auto found = folded_.find(fold_name(path, ignores_case_));
  return found == folded_.end() ? nullptr : &entries_[found->second].sides;
}

std::string encode_record(const RunRecord& record) {
  Writer writer;
  std::string& out = writer.out;
  out.append(kMagic);
  put_number(out, kVersion);
  put_number(out, record.ignores_case() ? 1 : 0);
  put_text(out, record.key());
  put_number(out, record.volumes().folder);
  put_number(out, record.volumes().drive);
  put_number(out, record.size());
  std::string_view previous;
  for (const auto& stored : record.entries_) {
    const std::string_view path = record.path_of(stored);
    const RecordedSides& entry = stored.sides;
    const std::size_t shared = shared_prefix(previous, path);
    put_number(out, shared);
    put_text(out, path.substr(shared));
    previous = path;
    const bool same = entry.folder_side && entry.drive_side && *entry.folder_side == *entry.drive_side;
    const bool hashed = !entry.folder && entry.content;
    put_number(out, (entry.folder ? kFolder : 0) | (entry.folder_side ? kOnFolderSide : 0) |
                        (entry.drive_side ? kOnDriveSide : 0) | (same ? kDriveAsFolder : 0) |
                        (hashed ? kHashed : 0) | (entry.folder_identity ? kFolderIdentity : 0) |
                        (entry.drive_identity ? kDriveIdentity : 0));
    if (entry.folder) continue;
    if (entry.folder_side) writer.version(*entry.folder_side);
    if (entry.drive_side && !same) writer.version(*entry.drive_side);
    if (hashed) {
      put_word(out, static_cast<std::uint32_t>(*entry.content));
      put_word(out, static_cast<std::uint32_t>(*entry.content >> 32));
    }
    if (entry.folder_identity) put_number(out, entry.folder_identity);
    if (entry.drive_identity) put_number(out, entry.drive_identity);
  }
  put_word(out, crc32(out));
  return out;
}

std::optional<RunRecord> decode_record(std::string_view bytes) {
  if (bytes.size() < kMagic.size() + 4 || !bytes.starts_with(kMagic)) return std::nullopt;
  const std::string_view body = bytes.substr(0, bytes.size() - 4);
  std::uint32_t stored = 0;
  for (int i = 0; i < 4; ++i) {
    stored |= std::uint32_t{static_cast<unsigned char>(bytes[body.size() + i])} << (8 * i);
  }
  if (stored != crc32(body)) return std::nullopt;
  Reader reader(body.substr(kMagic.size()));
  ByteReader& in = reader.in;
  const auto version = in.number();
  const auto flags = in.number();
  const auto key = in.text();
  if (!version || *version < kOldestVersion || *version > kVersion || !flags || !key) {
    return std::nullopt;
  }
  const bool identities = *version >= kFirstWithIdentities;
  RunRecord record;
  if (identities) {
    const auto folder_volume = in.number();
    const auto drive_volume = in.number();
    if (!folder_volume || !drive_volume) return std::nullopt;
    record.volumes_ = {*folder_volume, *drive_volume};
  }
  const auto count = in.number();
  if (!count) return std::nullopt;
  record.key_ = std::string(*key);
  record.ignores_case_ = (*flags & 1) != 0;
  // Every entry takes two bytes at least, so a count the bytes cannot hold
  // reserves no more than they could.
  record.entries_.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(*count, body.size() / 2)));
  const std::size_t path_text_limit =
      std::min<std::size_t>(UINT32_MAX, body.size() * kPathTextPerByte);
  std::string path;
  for (std::uint64_t i = 0; i < *count; ++i) {
    const auto shared = in.number();
    const auto suffix = in.text();
    const auto kind = in.number();
    if (!shared || !suffix || !kind || *shared > path.size() || (*kind & ~kKinds) != 0) {
      return std::nullopt;
    }
    path.resize(static_cast<std::size_t>(*shared));
    path.append(*suffix);
    if (!is_state_path(path)) return std::nullopt;
    RecordedSides entry{(*kind & kFolder) != 0, std::nullopt, std::nullopt};
    if (entry.folder) {
      if (*kind & (kHashed | kFolderIdentity | kDriveIdentity)) return std::nullopt;
      if (*kind & kOnFolderSide) entry.folder_side = FileVersion{};
      if (*kind & kOnDriveSide) entry.drive_side = FileVersion{};
    } else {
      if (*kind & kOnFolderSide && !(entry.folder_side = reader.version())) return std::nullopt;
      if (*kind & kDriveAsFolder) {
        entry.drive_side = entry.folder_side;
      } else if (*kind & kOnDriveSide && !(entry.drive_side = reader.version())) {
        return std::nullopt;
      }
      if (*kind & kHashed) {
        const auto bytes = in.take(8);
        if (!bytes) return std::nullopt;
        std::uint64_t hash = 0;
        for (int i = 7; i >= 0; --i) hash = hash << 8 | static_cast<unsigned char>((*bytes)[i]);
        entry.content = hash;
      }
      if (!identities && (*kind & (kFolderIdentity | kDriveIdentity))) return std::nullopt;
      if (!read_identity(in, *kind, kFolderIdentity, record.volumes_.folder, entry.folder_identity) ||
          !read_identity(in, *kind, kDriveIdentity, record.volumes_.drive, entry.drive_identity)) {
        return std::nullopt;
      }
    }
    if (record.paths_.size() + path.size() > path_text_limit) return std::nullopt;
    record.add(path, entry);
  }
  // This program writes its records in the byte order of their paths, each
  // path once: a record in any other order is not one of them.
  if (!in.at_end() || !record.in_order()) return std::nullopt;
  return record;
}

}  // namespace tav::state
