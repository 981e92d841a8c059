#include "files/copy_batch.h"

#include <memory>

#include "errors/detail_words.h"
#include "errors/runtime_error.h"
#include "files/operations.h"
#include "files/temporary_file.h"
#include "platform/text.h"

namespace tav {

namespace {

constexpr std::size_t kCopyChunk = 1 << 20;
constexpr std::uint64_t kWritingStartsAlone = 256 << 10;

bool too_long(std::string_view path) { return cp932_length(path) > kMaxPathBytes; }

bool is_missing(sys::Code code) {
  return code == sys::kFileNotFound || code == sys::kPathNotFound;
}

// A source the system would not open: gone, or a folder now (which Windows
// refuses to open as a file). A source on a drive that went away is not
// gone: that refusal is the run's error.
bool source_is_gone(std::string_view source, sys::Code code) {
  if (is_missing(code)) return true;
  const auto now = entry_at(std::string(source));
  return now && now->folder;
}

// Some file systems stamp a file with the time of its rename (a FAT driver
// through FUSE): a placed copy whose write time moved so is given its
// source's times again, so that the next run does not find it changed. One
// look at each copy placed; a time that cannot be set again is left as the
// volume reports it, for the copy is whole and in place. Answers the copy
// as it stands once placed where that is as written; none where its times
// were set again.
std::optional<ListedEntry> keep_time_in_place(const std::string& destination,
                                              const sys::FileFacts& source) {
  auto now = entry_at(destination);
  if (!now || same_time(now->written.seconds, sys::seconds_since_1970(source.written))) {
    return now;
  }
  sys::set_times(destination, source);
  return std::nullopt;
}

WriteTime write_time_of(const sys::SystemTime& time) {
  return {sys::seconds_since_1970(time), static_cast<std::uint32_t>(time.nanoseconds)};
}

}  // namespace

struct CopyBatch::Pending {
  sys::TemporaryFile file;
  sys::FileFacts facts;
  Replaces replaces;
  ContentHash hash;    // of the bytes written, taken as they were copied
  std::uint64_t size;  // of the bytes written
};

CopyBatch::CopyBatch(Limits limits, SteadyClock clock, BatchWatch watch)
    : limits_(limits), clock_(std::move(clock)), watch_(std::move(watch)) {}

CopyBatch::~CopyBatch() {
  try {
    place_finished(std::source_location::current(), false);
  } catch (...) {
    // The temporary files remove themselves.
  }
}

CopyBatch::Added CopyBatch::add(std::string_view source, std::string_view destination,
                                Replaces replaces, const CopyProgress& progress,
                                std::source_location where) {
  if (too_long(source) || too_long(destination)) {
    raise_error(err::kBadArgument, detail::kCopyPathTooLong, where);
  }
  const auto refused = [&](sys::Code code) {
    claim_later(place_finished(where, false));
    raise_system_error(code, detail::kCopyRefused, where);
  };

  sys::OpenFile in(sys::open_source(source));
  if (!in.is_open()) {
    const sys::Code code = sys::last_code(source);
    if (source_is_gone(source, code)) return Added::SourceMissing;
    refused(code);
  }
  sys::FileFacts facts;
  if (!sys::read_facts(in.get(), facts)) refused(sys::last_code(source));
  if (facts.folder) return Added::SourceMissing;
  if (pending_.empty()) started_ = clock_();
  sys::TemporaryFile out(destination);
  if (!out.is_open()) refused(sys::last_code(destination));
  // Not cleared first: every byte written is one just read.
  const auto buffer = std::make_unique_for_overwrite<char[]>(kCopyChunk);
  std::uint64_t copied = 0;
  // The bytes are hashed as they pass: the source is read once.
  ContentHasher hasher;
  while (const std::ptrdiff_t got = sys::read_some(in.get(), buffer.get(), kCopyChunk)) {
    if (got < 0) refused(sys::last_code(source));
    if (!sys::write_all(out.get(), buffer.get(), static_cast<std::size_t>(got))) {
      refused(sys::last_code(destination));
    }
    hasher.update(buffer.get(), static_cast<std::size_t>(got));
    copied += static_cast<std::uint64_t>(got);
    if (progress && !progress(copied)) return Added::Abandoned;  // out removes itself
  }
  if (!sys::keep_times(out.get(), facts, devices_)) refused(sys::last_code(destination));
  // A large copy starts on its way to the medium at once; small ones are
  // quicker written together by the batch's flush.
  if (copied >= kWritingStartsAlone) sys::start_writing(out.get());
  pending_.push_back({std::move(out), facts, replaces, hasher.digest(), copied});
  bytes_ += copied;
  return Added::Written;
}

bool CopyBatch::full() const {
  return !pending_.empty() && (pending_.size() >= limits_.files || bytes_ >= limits_.bytes ||
                               clock_() - started_ >= limits_.time);
}

CopyBatch::Placed CopyBatch::place(std::source_location where) {
  return place_finished(where, true);
}

CopyBatch::Placed CopyBatch::place_finished(std::source_location where, bool raise) {
  Placed outcome;
  if (pending_.empty()) return outcome;
  std::vector<Pending> batch = std::exchange(pending_, {});
  bytes_ = 0;
  std::vector<sys::Handle> files;
  std::vector<Placement> placements;
  for (const Pending& copy : batch) {
    files.push_back(copy.file.get());
    placements.push_back({copy.file.destination(), copy.file.path(), copy.replaces.kind,
                          !copy.replaces.keep_as.empty()});
  }
  // Unflushed data never takes a destination's name: the old file stays.
  if (watch_) watch_(Step::Flushing, placements, files);
  const bool flushed = sys::flush_files(files);
  if (flushed && watch_) watch_(Step::Flushed, placements, files);
  if (!flushed) {
    const sys::Code code = sys::last_code(batch.front().file.destination());
    if (raise) raise_system_error(code, detail::kCopyRefused, where);
    return outcome;
  }
  sys::Code first_refusal = 0;
  for (Pending& copy : batch) {
    const std::string& destination = copy.file.destination();
    bool changed = false;
    sys::Code code = 0;
    switch (copy.replaces.kind) {
      case Replaces::Kind::Anything:
        code = copy.file.place();
        break;
      case Replaces::Kind::Nothing:
        code = copy.file.place_new(changed);
        break;
      case Replaces::Kind::Version: {
        const auto now = entry_at(destination);
        changed = !now || now->folder || now->version() != copy.replaces.version;
        if (changed) break;
        code = copy.replaces.keep_as.empty() ? copy.file.place()
                                             : copy.file.place_keeping(copy.replaces.keep_as);
        break;
      }
    }
    if (changed) {
      outcome.changed.push_back(destination);
      copy.file.discard();
      continue;
    }
    std::optional<ListedEntry> in_place;
    if (code == 0) in_place = keep_time_in_place(destination, copy.facts);
    if (code == 0 && !sys::keep_attributes(destination, copy.facts)) {
      code = sys::last_code(destination);
    }
    if (code == 0) {
      outcome.placed.push_back(destination);
      outcome.written.push_back(
          {copy.hash, {write_time_of(copy.facts.written), copy.size}, std::move(in_place)});
    } else if (first_refusal == 0) {
      first_refusal = code;
    }
  }
  if (first_refusal != 0 && raise) {
    claim_later(std::move(outcome));
    raise_system_error(first_refusal, detail::kCopyRefused, where);
  }
  return outcome;
}

void CopyBatch::claim_later(Placed placed) {
  unclaimed_.placed.insert(unclaimed_.placed.end(), placed.placed.begin(), placed.placed.end());
  unclaimed_.written.insert(unclaimed_.written.end(), placed.written.begin(), placed.written.end());
  unclaimed_.changed.insert(unclaimed_.changed.end(), placed.changed.begin(), placed.changed.end());
}

void copy_file(std::string_view source, std::string_view destination,
               const CopyProgress& progress, std::source_location where) {
  CopyBatch batch({1, 0, {}});
  if (batch.add(source, destination, Replaces::anything(), progress, where) ==
      CopyBatch::Added::SourceMissing) {
    const auto now = entry_at(std::string(source));
    raise_system_error(now ? sys::kAccessDenied : sys::kFileNotFound, detail::kCopyRefused, where);
  }
  batch.place(where);
}

}  // namespace tav
