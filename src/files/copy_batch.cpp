#include "files/copy_batch.h"

#include <memory>

#include "errors/runtime_error.h"
#include "files/temporary_file.h"
#include "platform/text.h"

namespace tav {

namespace {

constexpr std::size_t kCopyChunk = 1 << 20;
constexpr std::uint64_t kWritingStartsAlone = 256 << 10;

// Detail words: the copy operation in the second byte, the step in the lowest.
constexpr std::uint32_t kDetailCopyRefused = 0xC0000201;
constexpr std::uint32_t kDetailCopyPathTooLong = 0xC0000202;

bool too_long(std::string_view path) { return cp932_length(path) > kMaxPathBytes; }

}  // namespace

struct CopyBatch::Pending {
  sys::TemporaryFile file;
  sys::FileFacts facts;
  Replaces replaces;
};

CopyBatch::CopyBatch(Limits limits) : limits_(limits) {}

CopyBatch::~CopyBatch() {
  try {
    place_finished(std::source_location::current(), false);
  } catch (...) {
    // The temporary files remove themselves.
  }
}

void CopyBatch::add(std::string_view source, std::string_view destination, Replaces replaces,
                    const CopyProgress& progress, std::source_location where) {
  if (too_long(source) || too_long(destination)) {
    raise_error(err::kBadArgument, kDetailCopyPathTooLong, where);
  }
  if (pending_.empty()) started_ = std::chrono::steady_clock::now();
  const auto refused = [&](sys::Code code) {
    place_finished(where, false);
    raise_system_error(code, kDetailCopyRefused, where);
  };

  sys::OpenFile in(sys::open_source(source));
  sys::FileFacts facts;
  if (!in.is_open() || !sys::read_facts(in.get(), facts)) refused(sys::last_code(source));
  if (facts.folder || sys::refuses_overwrite(destination)) refused(sys::kAccessDenied);
  sys::TemporaryFile out(destination);
  if (!out.is_open()) refused(sys::last_code(destination));
  // Not cleared first: every byte written is one just read.
  const auto buffer = std::make_unique_for_overwrite<char[]>(kCopyChunk);
  std::uint64_t copied = 0;
  while (const std::ptrdiff_t got = sys::read_some(in.get(), buffer.get(), kCopyChunk)) {
    if (got < 0) refused(sys::last_code(source));
    if (!sys::write_all(out.get(), buffer.get(), static_cast<std::size_t>(got))) {
      refused(sys::last_code(destination));
    }
    copied += static_cast<std::uint64_t>(got);
    if (progress) progress(copied);
  }
  if (!sys::keep_times(out.get(), facts)) refused(sys::last_code(destination));
  // A large copy starts on its way to the medium at once; small ones are
  // quicker written together by the batch's flush.
  if (copied >= kWritingStartsAlone) sys::start_writing(out.get());
  pending_.push_back({std::move(out), facts, replaces});
  bytes_ += copied;
  const bool full = pending_.size() >= limits_.files || bytes_ >= limits_.bytes ||
                    std::chrono::steady_clock::now() - started_ >= limits_.time;
  if (full) place(where);
}

void CopyBatch::place(std::source_location where) { place_finished(where, true); }

std::vector<std::string> CopyBatch::take_left() { return std::exchange(left_, {}); }

void CopyBatch::place_finished(std::source_location where, bool raise) {
  if (pending_.empty()) return;
  std::vector<Pending> batch = std::exchange(pending_, {});
  bytes_ = 0;
  std::vector<sys::Handle> files;
  for (const Pending& copy : batch) files.push_back(copy.file.get());
  // Unflushed data never takes a destination's name: the old file stays.
  if (!sys::flush_files(files)) {
    const sys::Code code = sys::last_code(batch.front().file.destination());
    if (raise) raise_system_error(code, kDetailCopyRefused, where);
    return;
  }
  sys::Code first_refusal = 0;
  for (Pending& copy : batch) {
    const std::string& destination = copy.file.destination();
    bool left = false;
    sys::Code code = 0;
    switch (copy.replaces.kind) {
      case Replaces::Kind::Anything:
        code = copy.file.place();
        break;
      case Replaces::Kind::Nothing:
        code = copy.file.place_new(left);
        break;
      case Replaces::Kind::Version: {
        const auto now = entry_at(destination);
        left = !now || now->folder || now->version() != copy.replaces.version;
        if (!left) code = copy.file.place();
        break;
      }
    }
    if (left) {
      left_.push_back(destination);
      copy.file.discard();
    } else if (code == 0 && !sys::keep_attributes(destination, copy.facts)) {
      code = sys::last_code(destination);
    }
    if (code != 0 && first_refusal == 0) first_refusal = code;
  }
  if (first_refusal != 0 && raise) raise_system_error(first_refusal, kDetailCopyRefused, where);
}

}  // namespace tav
